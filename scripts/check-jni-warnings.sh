#!/usr/bin/env bash
# Fails when the JVM's -Xcheck:jni reported anything during the tests: its
# lines "WARNING in native method" and "FATAL ERROR in native method" land
# in the test reports (the tests' own output and surefire's dump of what
# the JVM wrote to its standard output).
#   scripts/check-jni-warnings.sh REPORTS_DIR
set -euo pipefail
dir=$1
[ -d "$dir" ] || { echo "check-jni-warnings: no $dir" >&2; exit 1; }
if grep -rn -E '(WARNING|FATAL ERROR) in native method' "$dir"; then
  echo "check-jni-warnings: -Xcheck:jni reported JNI misuse (above)" >&2
  exit 1
fi
echo "check-jni-warnings: no JNI warnings in $dir"
