#!/usr/bin/env bash
# The main job: installs what the build needs, builds the library and the
# command-line tool, and analyses the bundled sample (a synthetic image
# whose power falls as 1/f^2, made by `varnoth synth`) or the image files
# and folders given as arguments; draws the sample's log-log chart.
#   scripts/run.sh               the sample: its slope and out/sample-chart.png
#   scripts/run.sh FILE|DIR...   your images (any analyze options first)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
echo "Building (mvn install -DskipTests) ..." >&2
mvn -B -ntp -q -Dstyle.color=never -DskipTests install >&2
if [ $# -gt 0 ]; then
  exec scripts/varnoth analyze "$@"
fi
mkdir -p out
scripts/varnoth analyze --remove-mean --chart out/sample-chart.png samples/synthetic-beta2.png
echo "chart: out/sample-chart.png"
