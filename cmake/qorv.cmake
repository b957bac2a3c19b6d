# qorv, the builder's command line: a library of everything but main (so that tools_tests can
# drive it) and the executable at the top of the build tree. The builder is a host tool that uses
# the standard library, CLI11 and toml++ freely, so it is compiled with exceptions (both libraries
# report errors by throwing), unlike the engine. RTTI stays off as in every other tree: neither
# library needs it, and the sanitizer's vptr check would otherwise meet the engine's vtables
# emitted without type information.
file(GLOB qorv_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/qorv/*.cpp)
list(FILTER qorv_sources EXCLUDE REGEX "/tools/qorv/main\\.cpp$")
if(NOT qorv_sources)
  return()
endif()
set(qorv_flags -fexceptions)

add_library(qorv_lib STATIC ${qorv_sources})
target_compile_options(qorv_lib PRIVATE ${QUORVEX_WARNINGS} ${qorv_flags})
target_link_libraries(qorv_lib PUBLIC quorvex_archive_writer)

add_executable(qorv ${PROJECT_SOURCE_DIR}/tools/qorv/main.cpp)
target_compile_options(qorv PRIVATE ${QUORVEX_WARNINGS} ${qorv_flags})
target_link_libraries(qorv PRIVATE qorv_lib)
set_target_properties(qorv PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
