#!/usr/bin/env bash
# The soak run: every native method called 10^5 times from Java under
# -Xcheck:jni, then calls that fail their checks as many times, resident
# memory sampled after forced collections; fails when it grows by more than
# 2 MiB after the warm-up. Not part of the test command (it takes several
# minutes).
#   scripts/soak.sh [CALLS]
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's:.*<revision>\(.*\)</revision>.*:\1:p' pom.xml)
jar=varnoth-jni/target/varnoth-jni-$version.jar
[ -f "$jar" ] || mvn -B -q -ntp -DskipTests install
# The Java heap is fixed and touched in full at start, so that what the
# resident size measures beyond it is native memory.
exec java -Xcheck:jni -Xms256m -Xmx256m -XX:+AlwaysPreTouch -cp "$jar" scripts/soak/Soak.java "$@"
