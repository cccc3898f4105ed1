#!/usr/bin/env bash
# Installs what the build needs, builds the library (natives and jar, put
# into the local Maven repository), then runs the examples as a user of the
# artifact would: the slopes of synthetic images with known power-law
# spectra, and the slope of a PNG file (examples/sample.png, or the files
# given as arguments).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
mvn=(mvn -B -ntp -q -Dstyle.color=never)
"${mvn[@]}" -DskipTests install
scripts/examples.sh SyntheticSlopes
if [ $# -gt 0 ]; then
  scripts/examples.sh PrintSlope "$@"
else
  scripts/examples.sh PrintSlope examples/sample.png
fi
