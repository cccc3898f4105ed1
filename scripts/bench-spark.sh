#!/usr/bin/env bash
# Images per second for a batch of generated 128 x 128 PNGs: the Spark job in
# local mode on N cores against the command-line tool with N threads, each
# timed as a whole command (JVM start and Spark's set-up included), in turn,
# RUNS times; each run also times both on one image, so that what an image
# costs beyond the set-up, (T(IMAGES) - T(1)) / (IMAGES - 1), is compared
# within the run, in wall time and in CPU time (user + system, which other
# work on a shared machine disturbs less). Prints each run and the medians.
#   scripts/bench-spark.sh [IMAGES [CORES [RUNS]]]     (default 2000 2 3)
set -euo pipefail
cd "$(dirname "$0")/.."
images=${1:-2000} cores=${2:-2} runs=${3:-3}
for n in "$images" 1; do
  if [ ! -d "out/bench-spark/images-$n" ]; then
    echo "bench-spark: writing $n PNGs to out/bench-spark/images-$n"
    java scripts/spark/GenerateImages.java "out/bench-spark/images-$n" "$n"
  fi
done
scripts/varnoth --version >/dev/null        # builds the tool if needed
scripts/spark-local.sh --help >/dev/null    # builds the job if needed

seconds() {  # the wall and the CPU time (user + system) of a command, in seconds
  local TIMEFORMAT='%R %U %S' t
  t=$( { time "$@" >/dev/null 2>&1; } 2>&1)
  awk -v t="$t" 'BEGIN { split(t, v, " "); print v[1], v[2] + v[3] }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
spark() {  # the job on out/bench-spark/images-$1
  rm -rf out/bench-spark/table
  seconds scripts/spark-local.sh -j "$cores" --input "out/bench-spark/images-$1" \
    --output out/bench-spark/table
}
cli() {  # the tool, through its launcher, on out/bench-spark/images-$1
  seconds scripts/varnoth analyze --threads "$cores" "out/bench-spark/images-$1"
}
# What an image costs beyond the set-up, in ms: (T(images) - T(1)) / (images - 1).
per_image() { awk -v n="$images" -v a="$1" -v b="$2" 'BEGIN { print (a - b) / (n - 1) * 1000 }'; }

sn=() cn=() s1=() c1=() sp=() cp=() sq=() cq=()
for ((i = 1; i <= runs; i++)); do
  read -r s s_cpu < <(spark "$images")
  read -r c c_cpu < <(cli "$images")
  read -r s_one s_one_cpu < <(spark 1)
  read -r c_one c_one_cpu < <(cli 1)
  s_per=$(per_image "$s" "$s_one") c_per=$(per_image "$c" "$c_one")
  s_cpu_per=$(per_image "$s_cpu" "$s_one_cpu") c_cpu_per=$(per_image "$c_cpu" "$c_one_cpu")
  printf 'run %d: %s images: spark local[%s] %.2f s, cli --threads %s %.2f s;' \
    "$i" "$images" "$cores" "$s" "$cores" "$c"
  printf ' 1 image: spark %.2f s, cli %.2f s; per image beyond set-up: spark %.3f ms, cli %.3f ms' \
    "$s_one" "$c_one" "$s_per" "$c_per"
  printf ' (CPU: spark %.3f ms, cli %.3f ms)\n' "$s_cpu_per" "$c_cpu_per"
  sn+=("$s") cn+=("$c") s1+=("$s_one") c1+=("$c_one") sp+=("$s_per") cp+=("$c_per")
  sq+=("$s_cpu_per") cq+=("$c_cpu_per")
done
m() { printf '%s\n' "$@" | median; }
awk -v n="$images" -v s="$(m "${sn[@]}")" -v c="$(m "${cn[@]}")" -v s1="$(m "${s1[@]}")" \
  -v c1="$(m "${c1[@]}")" -v sp="$(m "${sp[@]}")" -v cp="$(m "${cp[@]}")" \
  -v sq="$(m "${sq[@]}")" -v cq="$(m "${cq[@]}")" 'BEGIN {
  printf "median: spark %.2f s (%.0f images/s), cli %.2f s (%.0f images/s), spark/cli %.2f\n",
    s, n / s, c, n / c, s / c
  printf "median set-up (1 image): spark %.2f s, cli %.2f s\n", s1, c1
  printf "median per image beyond set-up: spark %.3f ms, cli %.3f ms, spark/cli %.2f\n",
    sp, cp, sp / cp
  printf "median CPU per image beyond set-up: spark %.3f ms, cli %.3f ms, spark/cli %.2f\n",
    sq, cq, sq / cq }'
