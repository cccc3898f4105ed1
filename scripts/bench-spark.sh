#!/usr/bin/env bash
# Images per second for a batch of generated 128 x 128 PNGs: the Spark job in
# local mode on N cores against the command-line tool with N threads, each
# timed as a whole command (JVM start and Spark's set-up included), in turn,
# RUNS times; prints each run and the medians.
#   scripts/bench-spark.sh [IMAGES [CORES [RUNS]]]     (default 2000 2 3)
set -euo pipefail
cd "$(dirname "$0")/.."
images=${1:-2000} cores=${2:-2} runs=${3:-3}
dir=out/bench-spark/images-$images
if [ ! -d "$dir" ]; then
  echo "bench-spark: writing $images PNGs to $dir"
  java scripts/spark/GenerateImages.java "$dir" "$images"
fi
scripts/varnoth --version >/dev/null        # builds the tool if needed
scripts/spark-local.sh --help >/dev/null    # builds the job if needed
version=$(sed -n 's:.*<revision>\(.*\)</revision>.*:\1:p' pom.xml)
cli=(java -jar "varnoth-cli/target/varnoth-cli-$version-all.jar" analyze --threads "$cores" "$dir")

seconds() {  # the wall time of a command, in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

cli_times=() spark_times=()
for ((i = 1; i <= runs; i++)); do
  rm -rf out/bench-spark/table
  s=$(seconds scripts/spark-local.sh -j "$cores" --input "$dir" --output out/bench-spark/table)
  c=$(seconds "${cli[@]}")
  printf 'run %d: spark local[%s] %.2f s, cli --threads %s %.2f s\n' "$i" "$cores" "$s" "$cores" "$c"
  spark_times+=("$s") cli_times+=("$c")
done
s=$(printf '%s\n' "${spark_times[@]}" | median)
c=$(printf '%s\n' "${cli_times[@]}" | median)
awk -v n="$images" -v s="$s" -v c="$c" 'BEGIN {
  printf "median: spark %.2f s (%.0f images/s), cli %.2f s (%.0f images/s), spark/cli %.2f\n",
    s, n / s, c, n / c, s / c }'
