# The i386 tree (toolchain cmake/i386.cmake): the portable layers and the native tests as the
# engine ships them, 32-bit with x87 arithmetic and optimised for size, without sanitizers (they
# do not run under user-mode emulation). The builder is a host tool and stays in the native tree.
quorvex_portable_library(quorvex_portable)
target_compile_options(quorvex_portable_flags INTERFACE -Oz -g)

if(QUORVEX_TESTS)
  quorvex_sources(native_tests tests/native)
  add_executable(native_tests ${native_tests})
  target_compile_options(native_tests PRIVATE -Oz ${QUORVEX_WARNINGS})
  target_link_libraries(native_tests PRIVATE quorvex_portable GTest::gtest_main)
  # The target runs through CMAKE_CROSSCOMPILING_EMULATOR.
  add_test(NAME native_tests COMMAND native_tests)
  set_tests_properties(native_tests PROPERTIES TIMEOUT 900)
endif()
