# Cross-build for Windows x86 (32-bit) with Debian's mingw-w64 toolchain;
# programs built here (the tests) run under 32-bit Wine.
#   cmake --preset mingw32   (or -DCMAKE_TOOLCHAIN_FILE=this file)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VARNOTH_MINGW_TRIPLE i686-w64-mingw32)
set(VARNOTH_WINEARCH win32)
# Debian's 32-bit Wine loader (package wine32:i386); some x86-64 hosts
# cannot execute 32-bit programs at all, and there the tests are not run.
set(VARNOTH_WINE_LOADER /usr/lib/wine/wine)
set(VARNOTH_EMULATED_PROGRAMS "32-bit x86 programs")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
