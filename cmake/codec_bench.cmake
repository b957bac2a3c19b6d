# codec_bench: the block codec against lz4, lz4 HC, zlib, LZMA and memcpy on one payload file. Optimised
# and without sanitizers, like core_bench, so it links its own copies of the portable library and
# of the codec. Run: codec_bench PAYLOAD [benchmark flags].
set(codec_bench_source ${PROJECT_SOURCE_DIR}/tests/bench/codec_bench.cpp)
if(NOT EXISTS ${codec_bench_source})
  return()
endif()
find_path(LZ4_INCLUDE_DIR lz4hc.h)
find_library(LZ4_LIBRARY lz4)
find_package(ZLIB QUIET)
find_package(LibLZMA QUIET)
if(NOT LZ4_INCLUDE_DIR OR NOT LZ4_LIBRARY OR NOT ZLIB_FOUND OR NOT LIBLZMA_FOUND)
  message(STATUS "codec_bench skipped: needs liblz4-dev, zlib1g-dev and liblzma-dev")
  return()
endif()

if(NOT TARGET quorvex_portable_bench)
  quorvex_portable_library(quorvex_portable_bench)
  target_compile_options(quorvex_portable_bench_flags INTERFACE -O2)
endif()

file(GLOB codec_bench_codec CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/codec/*.cpp)
add_library(quorvex_codec_bench STATIC ${codec_bench_codec})
target_compile_options(quorvex_codec_bench PRIVATE -O2 ${QUORVEX_WARNINGS})
target_link_libraries(quorvex_codec_bench PUBLIC quorvex_portable_bench)

add_executable(codec_bench ${codec_bench_source})
target_compile_options(codec_bench PRIVATE -O2 ${QUORVEX_WARNINGS})
target_include_directories(codec_bench PRIVATE ${LZ4_INCLUDE_DIR})
target_link_libraries(codec_bench PRIVATE quorvex_codec_bench benchmark::benchmark ${LZ4_LIBRARY}
                      ZLIB::ZLIB LibLZMA::LibLZMA)
set_target_properties(codec_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
