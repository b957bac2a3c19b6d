# Portable layers built for the host: tested with sanitizers, benchmarked without. The folders
# keep their order and their rule (cmake/layers.cmake): the core library, the platform layer's
# pure text operations, the archive readers, the configuration's pure parts, the title height
# of the user interface and the uninstaller's record reader.
include(cmake/layers.cmake)
foreach(layer core archive)
  quorvex_sources(layer_sources_${layer} ${layer})
  # Files named *_win32.cpp hold the parts of a folder that call Windows.
  list(FILTER layer_sources_${layer} EXCLUDE REGEX "_win32\\.cpp$")
endforeach()
set(layer_sources_platform platform/path_text.cpp platform/os_version.cpp)
set(layer_sources_config config/variable_substitution.cpp config/file_spec_text.cpp
  config/language_table.cpp config/archive_text.cpp config/formatted_texts.cpp)
# The user interface's one portable file: the title's pixel height.
set(layer_sources_ui ui/title_height.cpp)
# The uninstaller's reader of its record file.
set(layer_sources_uninstall uninstall/uninstall_data_reader.cpp)
list(TRANSFORM layer_sources_platform PREPEND ${PROJECT_SOURCE_DIR}/)
list(TRANSFORM layer_sources_config PREPEND ${PROJECT_SOURCE_DIR}/)
list(TRANSFORM layer_sources_ui PREPEND ${PROJECT_SOURCE_DIR}/)
list(TRANSFORM layer_sources_uninstall PREPEND ${PROJECT_SOURCE_DIR}/)
set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

# NAME links every portable layer; their compile and link options go on NAME_flags.
function(quorvex_portable_library name)
  quorvex_layer_libraries(${name})
endfunction()

option(QUORVEX_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(QUORVEX_FUZZ)
  include(cmake/fuzz.cmake)
  return()
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  include(cmake/i386_tests.cmake)
  return()
endif()

# The test tree is instrumented; the release tree (build/release) builds the qorv that users run,
# optimised and without the sanitizers, which make every build several times slower.
option(QUORVEX_SANITIZE "Build the portable layers and the tools with ASan and UBSan" ON)
quorvex_portable_library(quorvex_portable)
if(QUORVEX_SANITIZE)
  target_compile_options(quorvex_portable_flags INTERFACE ${sanitize} -g -O1)
  target_link_options(quorvex_portable_flags INTERFACE ${sanitize})
else()
  target_compile_options(quorvex_portable_flags INTERFACE -O2)
endif()

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
    target_compile_options(quorvex_portable_bench_flags INTERFACE -O2)
    add_executable(core_bench ${bench_sources})
    target_compile_options(core_bench PRIVATE -O2 ${QUORVEX_WARNINGS})
    target_link_libraries(core_bench PRIVATE quorvex_portable_bench benchmark::benchmark_main)
  endif()
  if(benchmark_FOUND)
    include(cmake/codec_bench.cmake OPTIONAL)
  endif()
endif()
