#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need, when any
# is missing. Uses sudo when not run as root. Non-interactive; running it
# again installs nothing.
#   scripts/install-deps.sh             the Linux build: library, jar, tests
#                                       (clang for the fuzz targets), and
#                                       the checks of the sources' form
#                                       (clang-format, python3), the ImageJ
#                                       command's tests (Xvfb)
#   scripts/install-deps.sh --windows   also the Windows cross-builds (x86
#                                       and x86-64) and their tests:
#                                       mingw-w64 (posix threads),
#                                       GoogleTest sources, Wine (32 and
#                                       64-bit)
#   scripts/install-deps.sh --aarch64   also the Linux aarch64 cross-build
#                                       and its tests: g++-aarch64-linux-gnu
#                                       (with its sysroot), GoogleTest
#                                       sources, qemu-user
#   scripts/install-deps.sh --cross     both of the above
#   scripts/install-deps.sh --bench     also the benchmarks' peers: FFTW
#                                       (never linked into the library) and
#                                       numpy
set -euo pipefail

windows=false aarch64=false bench=false
for arg in "$@"; do
  case "$arg" in
    --windows) windows=true ;;
    --aarch64) aarch64=true ;;
    --cross) windows=true aarch64=true ;;
    --bench) bench=true ;;
    *) echo "usage: $0 [--windows] [--aarch64] [--cross] [--bench]" >&2; exit 2 ;;
  esac
done

packages=(
  cmake g++ make binutils git
  openjdk-17-jdk-headless
  libgtest-dev libbenchmark-dev
  maven
  clang-14 libclang-rt-14-dev libomp-14-dev
  clang-format-14 python3
  # The ImageJ command's tests: AWT's X11 part of the JDK and a virtual display.
  openjdk-17-jre xvfb xauth
)
if $windows; then
  # wine32 is an i386 package: the i386 architecture must be enabled.
  packages+=(
    g++-mingw-w64-i686 g++-mingw-w64-i686-posix
    g++-mingw-w64-x86-64-posix
    googletest
    wine wine32:i386 wine64
  )
fi
if $aarch64; then
  packages+=(g++-aarch64-linux-gnu googletest qemu-user)
fi

if $bench; then
  packages+=(libfftw3-dev python3-numpy)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if $windows && ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Enabling the i386 architecture (for wine32)"
  $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
