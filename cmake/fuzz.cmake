# libFuzzer targets over the portable layers: tests/fuzz/*_fuzz.cpp, one program each. ctest
# runs every target for a short, bounded time; a crash, a sanitizer report or a leak fails it.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "QUORVEX_FUZZ needs clang (configure with CXX=clang++)")
endif()
set(QUORVEX_FUZZ_SECONDS 30 CACHE STRING "How long ctest runs each fuzz target")
set(fuzz_sanitize -fsanitize=address,undefined -fno-sanitize-recover=undefined)

quorvex_portable_library(quorvex_portable_fuzz)
target_compile_options(quorvex_portable_fuzz_flags INTERFACE ${fuzz_sanitize} -fsanitize=fuzzer-no-link -g -O1)
target_link_options(quorvex_portable_fuzz_flags INTERFACE ${fuzz_sanitize})

# The builder's block encoder, for the round-trip target: a library linked by every target.
file(GLOB fuzz_codec_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/codec/*.cpp)
add_library(quorvex_codec_fuzz STATIC ${fuzz_codec_sources})
target_compile_options(quorvex_codec_fuzz PRIVATE ${QUORVEX_WARNINGS})
target_link_libraries(quorvex_codec_fuzz PUBLIC quorvex_portable_fuzz)

# The inspector's reader (qorv inspect), for the target over whole installer files.
add_library(quorvex_readback_fuzz STATIC ${PROJECT_SOURCE_DIR}/tools/qorv/installer_readback.cpp)
target_compile_options(quorvex_readback_fuzz PRIVATE ${QUORVEX_WARNINGS})
target_link_libraries(quorvex_readback_fuzz PUBLIC quorvex_portable_fuzz)

enable_testing()
file(GLOB fuzz_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source IN LISTS fuzz_sources)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE ${QUORVEX_WARNINGS})
  target_link_libraries(${name} PRIVATE quorvex_readback_fuzz quorvex_codec_fuzz quorvex_portable_fuzz)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  # Seeds taken from a real installer (tests/fuzz/make_seeds.py) start the targets that have
  # them; what the run finds goes to the build tree's corpus.
  set(seeds ${PROJECT_SOURCE_DIR}/tests/fuzz/seeds/${name})
  if(NOT EXISTS ${seeds})
    set(seeds)
  endif()
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${QUORVEX_FUZZ_SECONDS} -rss_limit_mb=2048
           -print_final_stats=1 ${corpus} ${seeds})
endforeach()
