# Cross-build for Windows x86 (32-bit) with Debian's mingw-w64 toolchain;
# programs built here (the tests) run under Wine.
#   cmake --preset mingw32   (or -DCMAKE_TOOLCHAIN_FILE=this file)
#
# The posix thread model: libgomp is built on winpthreads, and the posix
# libstdc++ matches it. Both runtimes are linked statically (see
# cmake/Windows.cmake), so the DLL needs no compiler DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VARNOTH_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNOTH_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNOTH_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNOTH_MINGW_TRIPLE}-windres)

# Target headers and libraries from the mingw sysroot only; programs (javac,
# wine, objdump) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VARNOTH_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run in Wine, headless and without prompts: a 32-bit prefix
# of the build's own (made once at build time, see tests/CMakeLists.txt),
# no debug channels, and no Mono or Gecko installers on its first start.
set(VARNOTH_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env
      WINEPREFIX=${VARNOTH_WINEPREFIX} WINEARCH=win32 WINEDEBUG=-all
      "WINEDLLOVERRIDES=mscoree,mshtml=" DISPLAY=
    wine)
