# Cross-build for Windows x86 (32-bit) with Debian's mingw-w64 toolchain;
# programs built here (the tests) run under 32-bit Wine.
#   cmake --preset mingw32   (or -DCMAKE_TOOLCHAIN_FILE=this file)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VARNOTH_MINGW_TRIPLE i686-w64-mingw32)
set(VARNOTH_WINEARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
