#!/usr/bin/env bash
# Runs every benchmark with its peers in one go and prints the ratios of the
# performance goals (docs/PERFORMANCE.md records a run):
#   - Google Benchmark, natively: each stage and computing function beside
#     its literal reference form, every lane width the CPU runs, the whole
#     chain beside the same outputs on FFTW (libfftw3-dev, a benchmark-only
#     dependency) and the literal chain; windows of sides 128 to 4096 beside
#     FFTW's real-input transform of the same side; repetitions interleaved
#     at random;
#   - numpy, when python3 has it: the same windows (benchmarks/window_numpy.py);
#   - JMH, from Java: every computing native method on 1 and 2 threads,
#     beside the FFTW chain behind a literal JNI frame of the same shape, a
#     plain Java chain and one on JTransforms.
# Results (JSON) go to out/bench/.
#   scripts/bench.sh            everything (about 10 minutes before the
#                               windows, which took 3 min 25 s to 3 min
#                               40 s alone at --reps 5)
#   scripts/bench.sh --quick    fewer repetitions, for a look
#   scripts/bench.sh --windows  the windows alone, natively and in numpy
#                               (no JMH, so no Maven), into out/bench/windows/
#   --reps N                    N repetitions of each native benchmark
set -euo pipefail
cd "$(dirname "$0")/.."
reps=7 jmh=() windows_only=false
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) reps=2 jmh=(-wi 1 -i 2 -w 1 -r 1) ;;
    --windows) windows_only=true ;;
    --reps) reps="$2"; shift ;;
    *) echo "usage: $0 [--quick] [--windows] [--reps N]" >&2; exit 2 ;;
  esac
  shift
done

scripts/install-deps.sh --bench
out=out/bench
if $windows_only; then out=out/bench/windows; fi
mkdir -p "$out"

cmake --preset dev >/dev/null
if $windows_only; then
  natives=(window_bench) targets=(window_bench)
else
  natives=(transform_bench radial_bench regression_bench chain_bench window_bench)
  targets=("${natives[@]}" varnoth_fftw_peer)
fi
cmake --build --preset dev -j "$(nproc)" --target "${targets[@]}"
for b in "${natives[@]}"; do
  echo "== $b"
  build-dev/benchmarks/$b --benchmark_repetitions=$reps --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_out_format=json --benchmark_out="$out/$b.json"
done

# numpy's own wheels bundle an OpenBLAS that picks its kernel by itself: an
# OPENBLAS_CORETYPE set for older builds is dropped for this command alone,
# and kept if the run fails without it.
rm -f "$out/window_numpy.json"
if python3 -c 'import numpy' 2>/dev/null; then
  echo "== numpy peer (benchmarks/window_numpy.py)"
  numpy_peer=(python3 benchmarks/window_numpy.py --out "$out/window_numpy.json")
  env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE OPENBLAS_NUM_THREADS=1 "${numpy_peer[@]}" >/dev/null \
    || OPENBLAS_NUM_THREADS=1 "${numpy_peer[@]}" >/dev/null
else
  echo "== numpy peer: python3 has no numpy, not timed"
fi

if ! $windows_only; then
  mvn -B -q -ntp -DskipTests install
  mvn -B -q -ntp -f benchmarks/jmh/pom.xml package
  for t in 1 2; do
    echo "== JMH, $t thread(s)"
    java -jar benchmarks/jmh/target/benchmarks.jar -t $t "${jmh[@]}" \
      -jvmArgsAppend "-Dvarnoth.bench.peer=$PWD/build-dev/benchmarks/libvarnoth_fftw_peer.so" \
      -rf json -rff "$out/jmh-$t.json"
  done
fi

python3 scripts/bench_ratios.py "$out"
