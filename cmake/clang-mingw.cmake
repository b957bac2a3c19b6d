# Clang and lld for a mingw-w64 target, over the mingw-w64 headers, C runtime and GCC support
# libraries that Debian installs for that target (win32 thread model). Included by the toolchain
# file of each architecture after it sets mingw_triple.
#
# Clang is used for the engine we ship because it can drop the virtual functions that no call can
# reach (-fvirtual-function-elimination, at link time): every collection carries the whole
# collection interface, and most of each interface is never called.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${mingw_triple})
set(CMAKE_CXX_COMPILER_TARGET ${mingw_triple})
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)
set(CMAKE_AR llvm-ar)
set(CMAKE_RANLIB llvm-ranlib)

# Clang's driver does not find Debian's layout of the GCC support files by itself (and would
# search the host's /usr/include), so the include and library folders are given in full.
set(mingw_gcc_dir /usr/lib/gcc/${mingw_triple}/12-win32)
set(mingw_includes "-nostdlibinc -isystem /usr/${mingw_triple}/include")
set(CMAKE_C_FLAGS_INIT "${mingw_includes}")
set(mingw_cxx_dir ${mingw_gcc_dir}/include/c++)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${mingw_cxx_dir} -isystem ${mingw_cxx_dir}/${mingw_triple}")
string(APPEND CMAKE_CXX_FLAGS_INIT " -isystem ${mingw_cxx_dir}/backward ${mingw_includes}")
# The compile flags come to the link line too, where the include options mean nothing.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${mingw_gcc_dir} -Qunused-arguments")

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
