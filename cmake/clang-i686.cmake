# The 32-bit engine we ship: compiled and linked only (32-bit programs cannot run on these
# machines). Clang's i686 target builds for the Pentium Pro with x87 arithmetic, as GCC's does.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
