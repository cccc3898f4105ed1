#!/usr/bin/env bash
# Times the Windows x86 build's own code under Wine beside the Linux build,
# the same program (benchmarks/code_timing.cpp) on the same machine:
#   linux     the Linux x86-64 build (dev preset), parallel loops compiled out
#   windows   the Windows x86 code with the parallel loops compiled out
#             (mingw32-timing preset): Wine runs it natively, so this is the
#             code's own speed
#   shipped   the Windows build as the DLL ships, parallel loops on (mingw32
#             preset): under Wine each start of a parallel region goes
#             through the emulator's thread wake-ups, which are not
#             Windows'; its one_parallel_region line is that cost
# and prints windows / linux per function. Results go to out/bench/. On a
# host that cannot execute 32-bit x86 programs it times the Linux build only
# and says so.
#   scripts/bench-windows.sh [--quick]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows
out=out/bench
mkdir -p "$out"
jobs=$(nproc)

for preset in dev mingw32-timing mingw32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" --target code_timing
done

build-dev/benchmarks/code_timing "$@" | tee "$out/timing-linux.txt"

# The mingw32 build says why when this host cannot run its programs.
if [ -f build-mingw32/tests-not-run.txt ]; then
  echo "bench-windows: the Windows x86 timings cannot run here:" \
    "$(cat build-mingw32/tests-not-run.txt); only the Linux build was timed" >&2
  exit 0
fi
cmake --build --preset mingw32 --target varnoth_wineprefix >/dev/null
# Wine as the mingw32 tests run it (cmake/toolchains/i686-w64-mingw32.cmake).
wine_run() {
  env WINEPREFIX="$PWD/build-mingw32/wineprefix" WINEARCH=win32 WINEDEBUG=-all \
    "WINEDLLOVERRIDES=mscoree,mshtml=" DISPLAY= /usr/lib/wine/wine "$@"
}
wine_run build-mingw32-timing/benchmarks/code_timing.exe "$@" | tr -d '\r' | tee "$out/timing-windows.txt"
wine_run build-mingw32/benchmarks/code_timing.exe "$@" | tr -d '\r' | tee "$out/timing-shipped.txt"

python3 - "$out" <<'PY'
import sys, os
out = sys.argv[1]
def load(name):
    t = {}
    for line in open(os.path.join(out, name)):
        if line.startswith("#") or not line.strip():
            continue
        k, v = line.split()
        t[k] = float(v)
    return t
lin, win, ship = load("timing-linux.txt"), load("timing-windows.txt"), load("timing-shipped.txt")
print("\n%-28s %9s %9s %7s %9s" % ("function (us/call)", "linux", "windows", "ratio", "shipped"))
for k in lin:
    if k in win:
        print("%-28s %9.1f %9.1f %7.2f %9.1f" % (k, lin[k], win[k], win[k] / lin[k], ship.get(k, float("nan"))))
k = "f_ImageFFTPowerPhase"
if k in lin and k in win:
    own_lin, own_win = lin[k] - lin["angle"], win[k] - win["angle"]
    print("%-28s %9.1f %9.1f %7.2f   (the runtime's atan2 taken out)" % (k + " - angle", own_lin, own_win, own_win / own_lin))
k = "f_PlotSpectra_GetChartInfo"
if k in lin and k in win and "b_log" in lin and "b_log" in win:
    own_lin, own_win = lin[k] - lin["b_log"], win[k] - win["b_log"]
    print("%-28s %9.1f %9.1f %7.2f   (the runtime's log taken out)" % (k + " - b_log", own_lin, own_win, own_win / own_lin))
if "one_parallel_region" in ship:
    print("one parallel region under Wine: %.1f us (Linux build: %s)" % (ship["one_parallel_region"], lin.get("one_parallel_region", "n/a")))
PY
