# The builder side, built natively with the sanitizers: the block encoder and the archive writer (one
# library), and qorv (manifest, command line, inspector). tests/tools/*.cpp test them together with the
# engine's readers.
quorvex_sources(codec_sources tools/codec)
quorvex_sources(writer_sources tools/archive_writer)
if(NOT codec_sources AND NOT writer_sources)
  return()
endif()
add_library(quorvex_archive_writer STATIC ${codec_sources} ${writer_sources})
target_compile_options(quorvex_archive_writer PRIVATE ${QUORVEX_WARNINGS})
target_link_libraries(quorvex_archive_writer PUBLIC quorvex_portable)

if(EXISTS ${PROJECT_SOURCE_DIR}/cmake/qorv.cmake)
  include(cmake/qorv.cmake)
endif()

quorvex_sources(tools_tests tests/tools)
if(QUORVEX_TESTS AND tools_tests)
  add_executable(tools_tests ${tools_tests})
  target_compile_options(tools_tests PRIVATE ${QUORVEX_WARNINGS})
  target_link_libraries(tools_tests PRIVATE quorvex_archive_writer GTest::gtest_main)
  if(TARGET qorv_lib)
    target_link_libraries(tools_tests PRIVATE qorv_lib)
  endif()
  add_test(NAME tools_tests COMMAND tools_tests)
  set_tests_properties(tools_tests PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1")
endif()
