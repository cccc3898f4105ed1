#!/usr/bin/env bash
# Runs every benchmark with its peers in one go and prints the ratios of the
# performance goals (docs/PERFORMANCE.md records a run):
#   - Google Benchmark, natively: each stage and computing function beside
#     its literal reference form, every lane width the CPU runs, the whole
#     chain beside the same outputs on FFTW (libfftw3-dev, a benchmark-only
#     dependency) and the literal chain; repetitions interleaved at random;
#   - JMH, from Java: every computing native method on 1 and 2 threads,
#     beside the FFTW chain behind a literal JNI frame of the same shape, a
#     plain Java chain and one on JTransforms.
# Results (JSON) go to out/bench/.
#   scripts/bench.sh          everything (about 10 minutes)
#   scripts/bench.sh --quick  fewer repetitions, for a look
set -euo pipefail
cd "$(dirname "$0")/.."
reps=7 jmh=()
if [ "${1:-}" = "--quick" ]; then reps=2 jmh=(-wi 1 -i 2 -w 1 -r 1); fi

scripts/install-deps.sh --bench
out=out/bench
mkdir -p "$out"

cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target transform_bench radial_bench regression_bench chain_bench \
  varnoth_fftw_peer
for b in transform_bench radial_bench regression_bench chain_bench; do
  echo "== $b"
  build-dev/benchmarks/$b --benchmark_repetitions=$reps --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_out_format=json --benchmark_out="$out/$b.json"
done

mvn -B -q -ntp -DskipTests install
mvn -B -q -ntp -f benchmarks/jmh/pom.xml package
for t in 1 2; do
  echo "== JMH, $t thread(s)"
  java -jar benchmarks/jmh/target/benchmarks.jar -t $t "${jmh[@]}" \
    -jvmArgsAppend "-Dvarnoth.bench.peer=$PWD/build-dev/benchmarks/libvarnoth_fftw_peer.so" \
    -rf json -rff "$out/jmh-$t.json"
done

python3 scripts/bench_ratios.py "$out"
