# Cross-build for Windows x86-64 with Debian's mingw-w64 toolchain; programs
# built here (the tests) run under 64-bit Wine.
#   cmake --preset mingw64   (or -DCMAKE_TOOLCHAIN_FILE=this file)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARNOTH_MINGW_TRIPLE x86_64-w64-mingw32)
set(VARNOTH_WINEARCH win64)
# Debian's 64-bit Wine loader (package wine64), started directly: the
# `wine` wrapper starts the 32-bit loader whenever that is installed, even
# for a 64-bit prefix.
set(VARNOTH_WINE_LOADER /usr/lib/wine/wine64)
set(VARNOTH_EMULATED_PROGRAMS "x86-64 Windows programs")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
