# Portable layers built for the host: tested with sanitizers, benchmarked without.
# The core library and the platform layer's pure text operations.
quorvex_sources(portable_sources core archive)
# Files named *_win32.cpp hold the parts of a folder that call Windows.
list(FILTER portable_sources EXCLUDE REGEX "_win32\\.cpp$")
list(APPEND portable_sources ${PROJECT_SOURCE_DIR}/platform/path_text.cpp
  ${PROJECT_SOURCE_DIR}/platform/os_version.cpp
  ${PROJECT_SOURCE_DIR}/config/variable_substitution.cpp
  ${PROJECT_SOURCE_DIR}/config/file_spec_text.cpp
  ${PROJECT_SOURCE_DIR}/config/language_table.cpp
  ${PROJECT_SOURCE_DIR}/config/archive_text.cpp
  ${PROJECT_SOURCE_DIR}/config/formatted_texts.cpp)
set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

function(quorvex_portable_library name)
  add_library(${name} STATIC ${portable_sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${QUORVEX_WARNINGS})
endfunction()

option(QUORVEX_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(QUORVEX_FUZZ)
  include(cmake/fuzz.cmake)
  return()
endif()

quorvex_portable_library(quorvex_portable)
target_compile_options(quorvex_portable PUBLIC ${sanitize} -g -O1)
target_link_options(quorvex_portable PUBLIC ${sanitize})

include(cmake/tools.cmake)

if(QUORVEX_TESTS)
  quorvex_sources(native_tests tests/native)
  add_executable(native_tests ${native_tests})
  target_compile_options(native_tests PRIVATE ${QUORVEX_WARNINGS})
  target_link_libraries(native_tests PRIVATE quorvex_portable GTest::gtest_main)
  add_test(NAME native_tests COMMAND native_tests)
  set_tests_properties(native_tests PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1")

  find_package(benchmark QUIET)
  quorvex_sources(bench_sources tests/bench)
  list(FILTER bench_sources EXCLUDE REGEX "/codec_bench\\.cpp$")
  if(benchmark_FOUND AND bench_sources)
    # Benchmarks measure optimised code: their own copy of the library, no sanitizers.
    quorvex_portable_library(quorvex_portable_bench)
    target_compile_options(quorvex_portable_bench PUBLIC -O2)
    add_executable(core_bench ${bench_sources})
    target_compile_options(core_bench PRIVATE -O2 ${QUORVEX_WARNINGS})
    target_link_libraries(core_bench PRIVATE quorvex_portable_bench benchmark::benchmark_main)
  endif()
  if(benchmark_FOUND)
    include(cmake/codec_bench.cmake OPTIONAL)
  endif()
endif()
