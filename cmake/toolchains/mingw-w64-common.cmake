# The body of the mingw-w64 toolchain files (i686-w64-mingw32.cmake,
# x86_64-w64-mingw32.cmake), which set VARNOTH_MINGW_TRIPLE,
# CMAKE_SYSTEM_PROCESSOR, VARNOTH_WINEARCH, VARNOTH_WINE_LOADER (the Wine
# loader of the target's width) and VARNOTH_EMULATED_PROGRAMS first.
#
# The posix thread model: libgomp is built on winpthreads, and the posix
# libstdc++ matches it. Both runtimes are linked statically (see
# cmake/Windows.cmake), so the DLL needs no compiler DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)

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

# Test programs run in Wine, headless and without prompts: a prefix of the
# build's own (made once at build time, see tests/CMakeLists.txt), of the
# target's width, no debug channels, and no Mono or Gecko installers on its
# first start. They run where `VARNOTH_WINE_LOADER --version` does
# (tests/CMakeLists.txt asks).
set(VARNOTH_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env
      WINEPREFIX=${VARNOTH_WINEPREFIX} WINEARCH=${VARNOTH_WINEARCH} WINEDEBUG=-all
      "WINEDLLOVERRIDES=mscoree,mshtml=" DISPLAY=
    ${VARNOTH_WINE_LOADER})
set(VARNOTH_EMULATOR_PROBE ${VARNOTH_WINE_LOADER} --version)
