#!/usr/bin/env python3
"""Prints the ratios of the performance goals from the JSON that
scripts/bench.sh writes: medians of the Google Benchmark repetitions, JMH
averages."""
import json
import os
import sys


def native(out):
    times = {}
    for name in ("transform_bench", "radial_bench", "regression_bench", "chain_bench"):
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


if __name__ == "__main__":
    main()
