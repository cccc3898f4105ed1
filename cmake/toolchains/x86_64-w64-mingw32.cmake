# Cross-build for Windows x86-64 with Debian's mingw-w64 toolchain; programs
# built here (the tests) run under 64-bit Wine.
#   cmake --preset mingw64   (or -DCMAKE_TOOLCHAIN_FILE=this file)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARNOTH_MINGW_TRIPLE x86_64-w64-mingw32)
set(VARNOTH_WINEARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
