#!/usr/bin/env python3
"""The numpy peer of benchmarks/window_bench.cpp: one square window's centred
power spectrum, ring profile and line, the way numpy does it best, timed with
timeit for each side.

For each side n the job is the library's chain (window_power, window_profile,
profile_chart's line):
  - the unscaled 2-D DFT of the n x n window: np.fft.rfft2, the real-input
    transform, its n x (n/2 + 1) half spectrum squared and mirrored into the
    full n x n power (P(u, v) = P(-u, -v)), then np.fft.fftshift along the
    rows (the mirroring already writes the columns centred). It is numpy's
    fastest route here: about half to a third of the time of np.fft.fft2 on
    the whole window, which is timed beside it ("fft2": fft2, fftshift,
    re^2 + im^2) for the record;
  - the power (|F| / n^2)^2, as (re^2 + im^2) / n^4;
  - the ring means: ring k holds the elements whose distance from the centre
    (n/2, n/2), rounded half up, is k, for k = 0 .. n/2 (the corners beyond
    are left out): np.bincount of the ring numbers weighted by the power,
    over the element counts of the rings. The ring numbers and counts depend on n
    alone and are computed once, before the timing, as FFTW's plan is. NaN is
    not skipped (the window's levels are finite, so none arises): numpy does
    a little less than the library here;
  - the line: np.polyfit of degree 1 through (ln(1 + (99 / (n/2)) k),
    ln profile[k]) for the positive profile values.

The window is the one window_bench times: grey levels 0..255 from splitmix64
seeded with 2026 (element i, row by row, is the top 8 bits of the
generator's output i, counted from 0), so the slopes printed here are the
library's to rounding.

Prints JSON: microseconds per window, the best and the median of the
repeats of timeit (each repeat runs the job as many times as timeit's
autorange finds to take at least 0.2 s), and the slope, per side. One
thread: numpy's FFT (pocketfft) runs on one; set OPENBLAS_NUM_THREADS=1 for
polyfit's least squares.

  benchmarks/window_numpy.py [--sides 128,256,1024,4096] [--repeats 7]
                             [--out FILE]
"""
import argparse
import ctypes
import glob
import json
import os
import platform
import sys
import timeit

try:
    import numpy as np
except ImportError:
    np = None

def grey_window(n, seed=2026):
    """x[r, c] = the top 8 bits of splitmix64's output n r + c, as doubles."""
    with np.errstate(over="ignore"):
        i = np.arange(1, n * n + 1, dtype=np.uint64)
        z = np.uint64(seed) + i * np.uint64(0x9E3779B97F4A7C15)
        z = (z ^ (z >> np.uint64(30))) * np.uint64(0xBF58476D1CE4E5B9)
        z = (z ^ (z >> np.uint64(27))) * np.uint64(0x94D049BB133111EB)
        z = z ^ (z >> np.uint64(31))
    return (z >> np.uint64(56)).astype(np.float64).reshape(n, n)


class Window:
    """The fixed parts of side n: the rings and the abscissae."""

    def __init__(self, n):
        self.n = n
        h = n // 2
        self.h = h
        d = np.hypot(*np.meshgrid(np.arange(n) - h, np.arange(n) - h))
        rings = np.floor(d + 0.5).astype(np.intp)
        rings[rings > h] = h + 1  # the corners, dropped after the count
        self.rings = rings.ravel()
        self.counts = np.bincount(self.rings, minlength=h + 2)[:h + 1]
        self.xs = np.log(1.0 + (99.0 / h) * np.arange(h + 1))
        self.scale = 1.0 / float(n) ** 4
        self.power = np.empty((n, n))

    def power_rfft2(self, x):
        """The centred power from the half spectrum, mirrored."""
        n, h = self.n, self.h
        half = np.fft.rfft2(x)  # half[u, v], v = 0 .. n/2
        p = half.real ** 2
        p += half.imag ** 2
        p *= self.scale
        full = self.power  # full[u, C], C = (v + n/2) mod n
        full[:, h:] = p[:, :h]  # v = 0 .. n/2 - 1
        full[:, 0] = p[:, h]  # v = n/2
        # v = n/2 + j, j = 1 .. n/2 - 1: the power of (-u, n/2 - j).
        flipped = np.roll(p[::-1], 1, axis=0)  # flipped[u] = p[-u mod n]
        full[:, 1:h] = flipped[:, h - 1:0:-1]
        return np.fft.fftshift(full, axes=0)

    def power_fft2(self, x):
        f = np.fft.fftshift(np.fft.fft2(x))
        return (f.real ** 2 + f.imag ** 2) * self.scale

    def line(self, power):
        sums = np.bincount(self.rings, weights=power.ravel(), minlength=self.h + 2)
        profile = sums[:self.h + 1] / self.counts
        positive = profile > 0
        slope, intercept = np.polyfit(self.xs[positive], np.log(profile[positive]), 1)
        return slope, intercept


def openblas_core():
    """The OpenBLAS kernel that numpy's least squares run, where numpy's wheel
    bundles a scipy-openblas that says it; None otherwise."""
    libs = glob.glob(os.path.join(os.path.dirname(np.__file__) + ".libs", "*openblas*"))
    for lib in libs:
        try:
            handle = ctypes.CDLL(lib)
        except OSError:
            continue
        for name in ("scipy_openblas_get_corename64_", "scipy_openblas_get_corename",
                     "openblas_get_corename64_", "openblas_get_corename"):
            f = getattr(handle, name, None)
            if f is not None:
                f.restype = ctypes.c_char_p
                return f().decode()
    return None


def time_job(job, repeats):
    number, _ = timeit.Timer(job).autorange()  # at least 0.2 s a repeat
    runs = sorted(t / number for t in timeit.repeat(job, number=number, repeat=repeats))
    return {"best_us": runs[0] * 1e6, "median_us": runs[len(runs) // 2] * 1e6,
            "number": number, "repeats": repeats}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--sides", default="128,256,1024,4096")
    parser.add_argument("--repeats", type=int, default=7)
    parser.add_argument("--out", help="also write the JSON to this file")
    args = parser.parse_args()
    if np is None:
        print("window_numpy: numpy is not installed for %s; no numpy peer timed "
              "(Debian: apt-get install python3-numpy)" % sys.executable)
        return 0

    result = {"numpy": np.__version__, "python": platform.python_version(),
              "openblas_core": openblas_core(), "peer": "rfft2", "sides": {}}
    for n in (int(s) for s in args.sides.split(",")):
        w = Window(n)
        x = grey_window(n)
        # Both routes give the same power to rounding.
        a, b = w.power_rfft2(x).copy(), w.power_fft2(x)
        err = float(np.max(np.abs(a - b) / np.maximum(np.abs(b), 1e-300)))
        if err > 1e-6:
            print("window_numpy: rfft2 and fft2 differ at side %d (%g)" % (n, err), file=sys.stderr)
            return 1
        side = {}
        for route, power in (("rfft2", w.power_rfft2), ("fft2", w.power_fft2)):
            side[route] = time_job(lambda: w.line(power(x)), args.repeats)
            side[route]["slope"] = w.line(power(x))[0]
        result["sides"][str(n)] = side
        print("side %4d: rfft2 %.1f us, fft2 %.1f us (best of %d), slope %.6f" % (
            n, side["rfft2"]["best_us"], side["fft2"]["best_us"], args.repeats,
            side["rfft2"]["slope"]), file=sys.stderr)
    text = json.dumps(result, indent=1)
    print(text)
    if args.out:
        with open(args.out, "w") as f:
            f.write(text + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
