#!/usr/bin/env python3
"""Prints the ratios of the performance goals from the JSON that
scripts/bench.sh writes: medians of the Google Benchmark repetitions, JMH
averages, and for the windows the numpy peer's best of its timeit repeats."""
import json
import os
import sys


def native(out):
    times = {}
    for name in ("transform_bench", "radial_bench", "regression_bench", "chain_bench", "window_bench"):
        path = os.path.join(out, name + ".json")
        if not os.path.exists(path):
            continue
        for b in json.load(open(path))["benchmarks"]:
            if b.get("aggregate_name") == "median":
                scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
                times[b["run_name"]] = b["real_time"] * scale
    return times


def jmh(out, threads):
    path = os.path.join(out, "jmh-%d.json" % threads)
    if not os.path.exists(path):
        return {}
    return {r["benchmark"].rsplit(".", 1)[1]: r["primaryMetric"]["score"] for r in json.load(open(path))}


def numpy_peer(out):
    path = os.path.join(out, "window_numpy.json")
    if not os.path.exists(path):
        return None
    return json.load(open(path))


def slopes(out):
    """The slope counter of each window chain (the median of equal values)."""
    path = os.path.join(out, "window_bench.json")
    if not os.path.exists(path):
        return {}
    return {b["run_name"]: b["slope"] for b in json.load(open(path))["benchmarks"]
            if "slope" in b and b.get("aggregate_name") == "median"}


def windows(out, n):
    """The windows' lines: times per side, the stages per element, the
    ratios of the goals."""
    peer = numpy_peer(out)
    sides = [s for s in (128, 256, 1024, 4096) if "BM_window_chain/%d" % s in n]
    if not sides:
        return
    print("\nWindows of side n (us per window; numpy: best of its repeats):")
    print("  %-6s %12s %12s %12s %12s" % ("n", "chain", "FFTW chain", "reference", "numpy"))
    for s in sides:
        cells = [n.get("BM_window_%s/%d" % (k, s)) for k in ("chain", "fftw", "reference")]
        p = peer["sides"].get(str(s), {}).get(peer["peer"]) if peer else None
        cells.append(p["best_us"] if p else None)
        print("  %-6d %s" % (s, " ".join("%12.1f" % c if c is not None else "%12s" % "-" for c in cells)))
    lanes = [k for k in ("portable", "sse2", "neon", "avx2", "avx512") if "BM_window_rows_%s/4096" % k in n]
    stages = (["window_rows"] + ["window_rows_" + k for k in lanes] + ["window_column_power"] +
              ["window_column_power_" + k for k in lanes] +
              ["window_profile", "profile_chart", "fftw_transform", "fftw_power"])
    if any("BM_%s/%d" % (k, s) in n for k in stages for s in sides):
        print("Window stages (ns per element, n x n elements):")
        print("  %-30s %s" % ("n", " ".join("%7d" % s for s in sides)))
        for k in stages:
            cells = [n.get("BM_%s/%d" % (k, s)) for s in sides]
            if any(c is not None for c in cells):
                print("  %-30s %s" % (k, " ".join("%7.2f" % (1e3 * c / (s * s)) if c is not None else "%7s" % "-"
                                                  for c, s in zip(cells, sides))))
    if peer:
        print("numpy %s (%s, OpenBLAS kernel %s)" % (peer["numpy"], peer["peer"], peer.get("openblas_core")))
        mine = slopes(out)
        for s in sides:
            p = peer["sides"].get(str(s), {}).get(peer["peer"])
            m = mine.get("BM_window_chain/%d" % s)
            if p and m is not None and not abs(p["slope"] - m) <= 1e-9 * abs(m):
                print("  side %d: numpy's slope %.12g is not the library's %.12g" % (s, p["slope"], m))
    print("\nGoals, windows:")
    for s in sides:
        if "BM_window_fftw/%d" % s in n:
            what = "window %d: chain / FFTW real-input chain" % s
            ratio = n["BM_window_chain/%d" % s] / n["BM_window_fftw/%d" % s]
            if s == 128:
                print("%-4s %-62s %8.2f   (for reference)" % ("", what, ratio))
            else:
                row("W1", what, ratio, 1.5)
    for s in sides:
        p = peer["sides"].get(str(s), {}).get(peer["peer"]) if peer else None
        if p:
            row("W2", "window %d: chain / numpy (%s)" % (s, peer["peer"]), n["BM_window_chain/%d" % s] / p["best_us"],
                1.0)
    for s in sides:
        if "BM_window_reference/%d" % s in n:
            print("%-4s %-62s %8.2f   (for reference)" % (
                "", "window %d: reference route / chain (speed-up)" % s,
                n["BM_window_reference/%d" % s] / n["BM_window_chain/%d" % s]))


def row(goal, what, value, target, better_below=True):
    ok = value <= target if better_below else value >= target
    print("%-4s %-62s %8.2f   goal %s %-5s %s" % (goal, what, value, "<=" if better_below else ">=",
                                                 target, "met" if ok else "NOT met"))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "out/bench"
    n = native(out)
    j1, j2 = jmh(out, 1), jmh(out, 2)
    print("\nTimes in microseconds (medians):")
    for k in sorted(n):
        print("  %-40s %9.1f" % (k, n[k]))
    for label, j in (("JMH, 1 thread", j1), ("JMH, 2 threads", j2)):
        if j:
            print("%s (us per call per thread):" % label)
            for k in sorted(j):
                print("  %-40s %9.1f" % (k, j[k]))
    print("\nGoals:")
    if j1:
        for peer in ("fftwBehindJni", "jtransformsChain", "plainJavaChain"):
            if peer in j1:
                row("1" if peer == "fftwBehindJni" else "", "f_PSD_Processing from Java / %s" % peer,
                    j1["f_PSD_Processing"] / j1[peer], 0.5)
    if "BM_chain_fftw" in n:
        row("2", "native f_PSD_Processing / FFTW real-input chain", n["BM_chain_library"] / n["BM_chain_fftw"], 1.25)
        row("", "the chain as Java calls run it (by rows) / FFTW chain",
            n["BM_chain_by_rows"] / n["BM_chain_fftw"], 1.25)
    pairs = [("fft", "BM_fft_reference", "BM_fft"), ("fft2", "BM_fft2_reference", "BM_fft2"),
             ("f_ImageFFTPower", "BM_f_ImageFFTPower_reference", "BM_f_ImageFFTPower"),
             ("f_RadialAverageSpectra", "BM_RadialAverageSpectra_reference", "BM_RadialAverageSpectra"),
             ("f_PSD_Processing", "BM_chain_literal", "BM_chain_library")]
    for name, ref, fast in pairs:
        if ref in n and fast in n:
            row("3", "%s: literal form / library (speed-up)" % name, n[ref] / n[fast], 20, False)
    if "BM_f_ImageFFTPowerPhase" in n:
        row("3", "f_ImageFFTPowerPhase / (fft2 + 16384 atan2)",
            n["BM_f_ImageFFTPowerPhase"] / (n["BM_fft2"] + n["BM_angle"]), 1.15)
    if j1 and j2:
        row("4", "f_PSD_Processing, images per second, 2 threads / 1",
            2 * j1["f_PSD_Processing"] / j2["f_PSD_Processing"], 1.7, False)
    windows(out, n)


if __name__ == "__main__":
    main()
