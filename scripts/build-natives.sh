#!/usr/bin/env bash
# Builds the native libraries that the jar carries, with CMake, and copies
# both of each platform, Varnoth_JNI and Varnoth_Spectra, to OUT_DIR/OS-ARCH/
# (the jar's Varnoth/native/OS-ARCH/):
#   linux-x86_64/libVarnoth_JNI.so, libVarnoth_Spectra.so
#                                     always (the release preset)
#   linux-aarch64/libVarnoth_JNI.so, libVarnoth_Spectra.so
#                                     with aarch64-linux-gnu-g++
#                                     (the aarch64-release preset)
#   windows-x86/Varnoth_JNI.dll, Varnoth_Spectra.dll
#                                     with i686-w64-mingw32-g++-posix
#                                     (the mingw32-release preset)
#   windows-x86_64/Varnoth_JNI.dll, Varnoth_Spectra.dll
#                                     with x86_64-w64-mingw32-g++-posix
#                                     (the mingw64-release preset)
# A target whose cross compiler is missing is skipped, and said so;
# scripts/install-deps.sh --cross installs them all. Maven runs this before
# it packages the jar.
#   scripts/build-natives.sh OUT_DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 OUT_DIR" >&2; exit 2; }
out=$1
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

case "$(uname -s)-$(uname -m)" in
  Linux-x86_64) host=linux-x86_64 ;;
  *) echo "build-natives: this build runs on Linux x86-64 only, not $(uname -s) $(uname -m)" >&2
     exit 1 ;;
esac

build() {  # preset, build directory, platform directory
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
  mkdir -p "$out/$3"
  for name in Varnoth_JNI Varnoth_Spectra; do
    case "$3" in windows-*) file=$name.dll ;; *) file=lib$name.so ;; esac
    cp "$2/$file" "$out/$3/"
    echo "build-natives: $3/$file"
  done
}

cross() {  # compiler, preset, build directory, platform directory
  if command -v "$1" >/dev/null; then
    build "$2" "$3" "$4"
  else
    echo "build-natives: $4 skipped (no $1; scripts/install-deps.sh --cross installs it)"
  fi
}

rm -rf "$out"
build release build "$host"
cross aarch64-linux-gnu-g++ aarch64-release build-aarch64-release linux-aarch64
cross i686-w64-mingw32-g++-posix mingw32-release build-mingw32-release windows-x86
cross x86_64-w64-mingw32-g++-posix mingw64-release build-mingw64-release windows-x86_64
