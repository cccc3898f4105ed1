#!/usr/bin/env bash
# Builds the native libraries that the jar carries, with CMake, and copies
# each to OUT_DIR/OS-ARCH/ (the jar's Varnoth/native/OS-ARCH/):
#   linux-x86_64/libVarnoth_JNI.so   always (the release preset)
#   windows-x86/Varnoth_JNI.dll      when i686-w64-mingw32-g++-posix is
#                                    installed (the mingw32-release preset)
# Maven runs this before it packages the jar.
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

build() {  # preset, built file, platform directory
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
  mkdir -p "$out/$3"
  cp "$2" "$out/$3/"
}

rm -rf "$out"
build release build/libVarnoth_JNI.so "$host"
echo "build-natives: $host/libVarnoth_JNI.so"
if command -v i686-w64-mingw32-g++-posix >/dev/null; then
  build mingw32-release build-mingw32-release/Varnoth_JNI.dll windows-x86
  echo "build-natives: windows-x86/Varnoth_JNI.dll"
else
  echo "build-natives: windows-x86 skipped (no i686-w64-mingw32-g++-posix; scripts/install-deps.sh --windows installs it)"
fi
