# Cross-build for Windows x86-64 with Debian's mingw-w64 toolchain; programs
# built here (the tests) run under 64-bit Wine.
#   cmake --preset mingw64   (or -DCMAKE_TOOLCHAIN_FILE=this file)
#
# The posix thread model, for the same reason as the x86 build: libgomp is
# built on winpthreads. The runtimes are linked statically (cmake/Windows.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARNOTH_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNOTH_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNOTH_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNOTH_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VARNOTH_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run in Wine, headless and without prompts, in a 64-bit
# prefix of the build's own (see tests/CMakeLists.txt).
set(VARNOTH_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env
      WINEPREFIX=${VARNOTH_WINEPREFIX} WINEARCH=win64 WINEDEBUG=-all
      "WINEDLLOVERRIDES=mscoree,mshtml=" DISPLAY=
    wine)
