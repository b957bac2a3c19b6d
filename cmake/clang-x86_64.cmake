# The engine built as the shipped one is (Clang, link-time optimisation, unreachable virtual
# functions dropped), for x86_64 and with the test seam, so that the end-to-end tests can run it
# under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
