#!/usr/bin/env python3
"""Writes src/spectral/window_twiddles.cpp: the quarter wave of the cosine
for the window transforms, cos(2 pi j / 4096) for j = 0 .. 1024, each value
correctly rounded to a double (evaluated with 60 decimal digits by mpmath,
then rounded once). Run it only to change the table; the build does not."""
import sys
from pathlib import Path

import mpmath

mpmath.mp.dps = 60
QUARTER = 1024

def correctly_rounded_cos(j):
    exact = mpmath.cos(2 * mpmath.pi * j / (4 * QUARTER))
    # mpmath's own rounding to 53 bits, from 60 digits: one rounding.
    return float(mpmath.mpf(exact))

values = [correctly_rounded_cos(j) for j in range(QUARTER + 1)]
values[QUARTER] = 0.0  # cos(pi / 2) is exactly 0
lines = [
    "// The quarter wave of the cosine for the window transforms:",
    "// window_quarter_cosine[j] = cos(2 pi j / 4096), j = 0 .. 1024, each",
    "// correctly rounded to a double (written by scripts/window-twiddles.py;",
    "// hexadecimal, so that every bit is as written). Entry 1024 is exactly",
    "// 0.0.",
    '#include "spectral/window_twiddles.h"',
    "",
    "// clang-format off",
    "const real_T window_quarter_cosine[1025] = {",
]
lines += [f"    {v.hex()},  // {j}" for j, v in enumerate(values)]
lines += ["};", "// clang-format on", ""]
out = Path(__file__).resolve().parent.parent / "src/spectral/window_twiddles.cpp"
out.write_text("\n".join(lines))
print(f"wrote {out}", file=sys.stderr)
