# Cross-build for Linux aarch64 with Debian's g++-aarch64-linux-gnu; programs
# built here (the tests) run under qemu-user with the cross sysroot.
#   cmake --preset aarch64   (or -DCMAKE_TOOLCHAIN_FILE=this file)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(VARNOTH_CROSS_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${VARNOTH_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${VARNOTH_CROSS_TRIPLE}-g++)

# Target headers and libraries from the cross sysroot only; programs (javac,
# qemu) from the host.
set(VARNOTH_CROSS_SYSROOT /usr/${VARNOTH_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH ${VARNOTH_CROSS_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The dynamic loader and shared libraries of the target come from the sysroot.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L ${VARNOTH_CROSS_SYSROOT})
set(VARNOTH_EMULATOR_PROBE qemu-aarch64 --version)
set(VARNOTH_EMULATED_PROGRAMS "aarch64 programs")
