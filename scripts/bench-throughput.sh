#!/usr/bin/env bash
# Throughput where users feel it, in one run, each figure beside its peer:
#   1. JMH (bench.Analyzer): analyze(BufferedImage) of 128 x 128 8-bit grey,
#      16-bit grey and packed RGB pixels, and analyze(double[][]), against
#      the bare chain Varnoth.f_PSD_Processing on the same pixels;
#   2. the tool as users run it (scripts/varnoth analyze --threads 2) on a
#      folder of 2,000 generated 128 x 128 8-bit grey PNGs and on one of 20
#      photographs and pictures of 2 to 8 megapixels (Debian's
#      mate-backgrounds, downloaded into out/figures-src as
#      scripts/measuring-figures.sh does), beside the same command on one of
#      the folder's files: its cost per image beyond start-up,
#      (folder - one file) / (N - 1), against JMH's cost of decoding and
#      analysing the same files in memory on 2 threads (bench.Folder, per
#      file per thread, divided by the 2 threads);
#   3. the Spark job in local mode on 2 cores (scripts/spark-local.sh -j 2,
#      Parquet out) against the tool on the 2,000 PNGs: each one's cost per
#      image beyond its set-up, the same way.
# Whole commands are timed in turn, the fastest of --reps runs each (default
# 5; Spark 3); prints each ratio. Results go to out/bench/throughput/.
#   scripts/bench-throughput.sh [--reps N] [--jfr FILE]
# --jfr records the tool's run on the PNGs once with Java Flight Recorder.
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
out=out/bench/throughput
mkdir -p "$out"
mvn -B -q -ntp -DskipTests install
mvn -B -q -ntp -f benchmarks/jmh/pom.xml package
jmh=(java -jar benchmarks/jmh/target/benchmarks.jar)
scripts/varnoth --version >/dev/null        # makes the tool's class archive
scripts/spark-local.sh --help >/dev/null    # builds the job if needed

pngs="$out/pngs"
if [ "$(find "$pngs" -name '*.png' 2>/dev/null | wc -l)" -ne 2000 ]; then
  java scripts/spark/GenerateImages.java "$pngs" 2000
fi
photos="$out/photos"
if [ "$(find "$photos" -type f 2>/dev/null | wc -l)" -ne 20 ]; then
  src=out/figures-src
  if [ ! -d "$src/usr/share/backgrounds/mate" ]; then
    mkdir -p "$src"
    (cd "$src" && apt-get download mate-backgrounds >/dev/null && dpkg-deb -x mate-backgrounds_*.deb .)
  fi
  mkdir -p "$photos"
  m="$src/usr/share/backgrounds/mate"
  for f in nature/{Garden,Wood,Aqua,TwoWings,Storm,RainDrops,Blinds,LadyBird,YellowFlower}.jpg \
    abstract/{Elephants_3840x2160,Elephants}.jpg desktop/GreenTraditional.jpg \
    desktop/{Stripes,MATE-Stripes-Light,MATE-Stripes-Dark}.png \
    desktop/Ubuntu-Mate-{Radioactive,Warm,Cold}-no-logo.png abstract/{Gulp,Flow}.png; do
    cp "$m/$f" "$photos/"
  done
fi
for set in pngs photos; do
  mkdir -p "$out/one-$set"
  rm -f "$out/one-$set"/*
  cp "$(find "$out/$set" -type f | sort | head -1)" "$out/one-$set/"
done
echo "== load $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores, $(date -u '+%Y-%m-%d %H:%M') UTC"

echo "== 1. the analyser against the bare chain (JMH, µs per call)"
"${jmh[@]}" 'bench.Analyzer' -rf json -rff "$out/analyzer.json" | grep -A8 '^Benchmark'

# Wall seconds of the fastest of N runs of a command.
best() {
  local n=$1 b="" s e t
  shift
  for _ in $(seq "$n"); do
    s=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    e=$(date +%s.%N)
    t=$(echo "$e - $s" | bc)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}
tool=(scripts/varnoth analyze --threads 2)
spark() { rm -rf "$out/table"; scripts/spark-local.sh -j 2 --input "$1" --output "$out/table"; }

echo "== 2. the tool against its parts"
rm -f "$out/times.txt"
for set in pngs photos; do
  n=$(find "$out/$set" -type f | wc -l)
  folder=$(best "$reps" "${tool[@]}" "$out/$set")
  one=$(best "$reps" "${tool[@]}" "$out/one-$set")
  echo "tool $set $n $folder $one" >>"$out/times.txt"
  "${jmh[@]}" 'bench.Folder' -p folder="$out/$set" -t 2 -rf json -rff "$out/folder-$set.json" \
    | grep -A2 '^Benchmark'
  echo "   varnoth analyze --threads 2: $n files $folder s, one file $one s (fastest of $reps)"
done
echo "== 3. Spark local[2] against the tool"
sreps=$(( reps < 3 ? reps : 3 ))
sfolder=$(best "$sreps" spark "$out/pngs")
sone=$(best "$sreps" spark "$out/one-pngs")
echo "   spark-local.sh -j 2: 2000 files $sfolder s, one file $sone s (fastest of $sreps)"

python3 - "$out" "$pngs" "$photos" "$sfolder" "$sone" <<'PY'
import json, os, sys
out, pngs, photos, sfolder, sone = sys.argv[1], sys.argv[2], sys.argv[3], *map(float, sys.argv[4:])
score = {(b["benchmark"].rsplit(".", 1)[1], b["params"].get("type", "")): b["primaryMetric"]["score"]
         for b in json.load(open(f"{out}/analyzer.json"))}
print(f"== ratios (load {open('/proc/loadavg').read().split()[0]})")
print("1. analyser / chain, each on the chain of the same pixels (goal at most 1.15):")
for name, type_ in sorted(score):
    if name != "chain":
        print(f"   {name} {type_}: {score[(name, type_)]:.1f} / {score[('chain', type_)]:.1f} µs"
              f" = {score[(name, type_)] / score[('chain', type_)]:.2f}")
times = {}
for line in open(f"{out}/times.txt"):
    _, set_, n, folder, one = line.split()
    times[set_] = (int(n), float(folder), float(one))
tool_pngs = None
for set_ in ("pngs", "photos"):
    n, folder, one = times[set_]
    parts = json.load(open(f"{out}/folder-{set_}.json"))[0]["primaryMetric"]["score"] * 1e3 / n / 2
    per_image = (folder - one) / (n - 1) * 1e6
    if set_ == "pngs":
        tool_pngs = per_image
    print(f"2. tool on {n} {set_}: {per_image:.0f} µs per image beyond start-up, parts"
          f" {parts:.0f} µs on 2 threads: {per_image / parts:.2f} (goal at most 1.5)")
spark = (sfolder - sone) / 1999 * 1e6
print(f"3. Spark local[2]: {spark:.0f} µs per image beyond set-up, the tool {tool_pngs:.0f} µs:"
      f" {spark / tool_pngs:.2f} (goal at most 1.5); set-up {sone:.1f} s against the tool's"
      f" {times['pngs'][2]:.2f} s")
PY
rm -f "$out/times.txt"
if [ -n "$jfr" ]; then
  JAVA_TOOL_OPTIONS="-XX:StartFlightRecording=filename=$jfr,settings=profile" \
    "${tool[@]}" "$pngs" >/dev/null 2>&1
  echo "== recorded $jfr (jfr print --events jdk.ExecutionSample $jfr)"
fi
