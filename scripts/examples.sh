#!/usr/bin/env bash
# Builds the example consumer (examples/) against the varnoth-jni artifact
# in the local Maven repository and runs one example in a plain JVM: no -D
# option, no java.library.path; the library comes out of the jar.
#   scripts/examples.sh QuickStart FILE        the README's quick start
#   scripts/examples.sh PrintSlope FILE...
#   scripts/examples.sh SyntheticSlopes
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 EXAMPLE [ARGS...]" >&2; exit 2; }
root="$(cd "$(dirname "$0")/.." && pwd)"
example=$1
shift
# QuickStart is in the unnamed package, as the README shows it; the others
# in org.varnoth.examples.
class=org.varnoth.examples.$example
[ -f "$root/examples/src/main/java/$example.java" ] && class=$example
mvn -B -ntp -q -Dstyle.color=never -f "$root/examples/pom.xml" package >&2
java -cp "$root/examples/target/classes:$(cat "$root/examples/target/classpath.txt")" \
  "$class" "$@"
