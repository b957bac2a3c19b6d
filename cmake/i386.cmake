# The 32-bit test tree: the portable layers and their tests built for i686 as the engine is
# (clang for the Pentium Pro: x87 arithmetic, 4-byte pointers and sizes), statically linked over
# g++-multilib's 32-bit libraries and run through QEMU's user-mode emulator, since the kernels of
# these machines cannot run 32-bit programs.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_FLAGS_INIT "-m32 -march=pentiumpro")
set(CMAKE_CXX_FLAGS_INIT "-m32 -march=pentiumpro")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
# ctest and add_test run every test program through it.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
