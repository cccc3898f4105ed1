#!/usr/bin/env bash
# Builds everything and runs every test: the developer build (C++ tests,
# JUnit tests in a JVM with -Xcheck:jni, export table) and the native tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

for preset in dev asan-ubsan; do
  echo "== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
