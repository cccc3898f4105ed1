#!/usr/bin/env bash
# The tool at the speed of its parts: `varnoth analyze DIR` on a folder of
# 2,000 PNGs of 128 x 128 8-bit grey (random levels) with 2 threads, beside
# the same command on one of those files (start-up and the JVM's exit), and
# what JMH says decoding and analysing one such file costs
# (ImageFiles.decodeAndAnalyze, side 128, 2 threads). Prints the per-image
# time of the tool, (folder - one file) / 2,000, and its ratio to JMH's
# per-image cost divided by the 2 threads.
#   scripts/bench-tool.sh [--reps N] [--jfr FILE]
# --jfr records the folder run once with Java Flight Recorder into FILE.
# Needs the tool's jar (scripts/varnoth builds it) and the JMH jar
# (mvn -f benchmarks/jmh/pom.xml package); JMH runs on the tool's classes.
set -euo pipefail
cd "$(dirname "$0")/.."
reps=5 jfr=""
while [ $# -gt 0 ]; do
  case "$1" in
    --reps) reps="$2"; shift ;;
    --jfr) jfr="$2"; shift ;;
    *) echo "usage: $0 [--reps N] [--jfr FILE]" >&2; exit 2 ;;
  esac
  shift
done
version=$(sed -n 's:.*<revision>\(.*\)</revision>.*:\1:p' pom.xml)
jar="$PWD/varnoth-cli/target/varnoth-cli-$version-all.jar"
out=out/bench/tool
dir="$out/pngs"
mkdir -p "$out/one"
if [ "$(find "$dir" -name '*.png' 2>/dev/null | wc -l)" -ne 2000 ]; then
  java scripts/bench-tool/MakePngs.java "$dir" 2000 128
fi
cp "$dir/img0000.png" "$out/one/"
echo "== load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

# Wall seconds of the fastest of $reps runs of a command.
best() {
  local b="" s e t
  for _ in $(seq "$reps"); do
    s=$(date +%s.%N)
    "$@" >/dev/null
    e=$(date +%s.%N)
    t=$(echo "$e - $s" | bc)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}

folder=$(best java -jar "$jar" analyze --threads 2 "$dir")
one=$(best java -jar "$jar" analyze --threads 2 "$out/one")
echo "== varnoth analyze: 2000 files ${folder} s, one file ${one} s (best of $reps)"
java -cp "$jar:benchmarks/jmh/target/benchmarks.jar" org.openjdk.jmh.Main \
  'bench.ImageFiles.decodeAndAnalyze' -p side=128 -t 2 -rf json -rff "$out/jmh.json" \
  | grep -A3 '^Benchmark'
python3 - "$out/jmh.json" "$folder" "$one" <<'PY'
import json, sys
us = json.load(open(sys.argv[1]))[0]["primaryMetric"]["score"]
per_image = (float(sys.argv[2]) - float(sys.argv[3])) / 2000 * 1e6
parts = us / 2
print(f"== per image: tool {per_image:.1f} us, JMH decode + analyse {us:.1f} us on each"
      f" of 2 threads, so {parts:.1f} us; tool / parts = {per_image / parts:.2f}")
PY
if [ -n "$jfr" ]; then
  java -XX:StartFlightRecording=filename="$jfr",settings=profile -jar "$jar" analyze \
    --threads 2 "$dir" >/dev/null
  echo "== recorded $jfr (jfr print --events jdk.ExecutionSample $jfr)"
fi
