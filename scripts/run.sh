#!/usr/bin/env bash
# Builds the release library and jar, then runs the demo: the spectral
# analysis of synthetic images through the Java API.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"
java -Dvarnoth.library="$PWD/build/libVarnoth_JNI.so" \
  -cp build/Varnoth.jar:build/VarnothDemo.jar VarnothDemo "$@"
