#!/usr/bin/env bash
# Builds everything and runs every test: the developer build (C++ tests,
# JUnit tests in a JVM with -Xcheck:jni, export table), the native tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# Windows x86 DLL cross-built with mingw-w64, its native tests and export
# table checked under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --windows
jobs=$(nproc 2>/dev/null || echo 2)

for preset in dev asan-ubsan mingw32; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
