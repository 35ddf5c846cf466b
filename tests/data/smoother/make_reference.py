#!/usr/bin/python3
"""Reference results of the VE table smoother, computed with scipy's FITPACK.

Run with the interpreter that has python3-scipy (/usr/bin/python3):
  make_reference.py                 writes reference.txt beside this script
  make_reference.py --live IN OUT   answers the tables in IN (test use)
  make_reference.py --time IN N     microseconds per scipy smoothing of the
                                    first table in IN (RectBivariateSpline,
                                    then evaluation at the grid): wall and
                                    processor time, each the best of N

Each case in the text format:
  case NAME
  factor S
  cells 490 ints           learned cells, row by row (RPM outer, MAP inner)
  ier N                    of the fit
  fp F
  tx NX knots...
  ty NY knots...
  values 490 floats        spline at the grid points (also when ier > 0)
  written 490 ints         cells after smoothing (unchanged when ier > 0)
  end
IN holds only the case, factor and cells lines and end of each case.
"""
import math
import os
import sys

import numpy as np
from scipy.interpolate import RectBivariateSpline, dfitpack

RPM = [400, 500, 600, 700, 800, 900, 1000, 1100, 1200, 1300, 1400, 1500, 1600, 1700,
       1800, 1900, 2000, 2200, 2400, 2600, 2800, 3000, 3200, 3400, 3600, 4000, 4400,
       4800, 5200, 5600, 6000, 6500, 7000, 7500, 8000]
MAP = [20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 80, 90, 100]
X = np.array([(r - 400) / 100 for r in RPM], dtype=float)
Y = np.array([(m - 20) / 5 for m in MAP], dtype=float)
ROWS, COLS = len(RPM), len(MAP)


def cell_from_value(v):
    rounded = math.trunc(v * 10.0 + 0.5)
    return min(max(rounded, 0), 255)


def smooth(cells, factor):
    z = np.array(cells, dtype=float).reshape(ROWS * COLS) / 10.0
    nx, tx, ny, ty, c, fp, ier = dfitpack.regrid_smth(
        X, Y, z, X[0], X[-1], Y[0], Y[-1], 3, 3, float(factor))
    tx, ty = tx[:nx], ty[:ny]
    c = c[:(nx - 4) * (ny - 4)]
    values, eier = dfitpack.bispev(tx, ty, c, 3, 3, X, Y)
    values = values.reshape(ROWS * COLS)
    written = list(cells)
    if ier < 1 and eier < 1:
        written = [cell_from_value(v) for v in values]
    return dict(ier=int(ier), fp=float(fp), tx=list(tx), ty=list(ty),
                values=[float(v) for v in values], written=written)


def same_as_rect_bivariate(cells, factor, result):
    """The direct calls match what RectBivariateSpline does (it refuses a
    fit with a positive error code)."""
    if result["ier"] > 0:
        return True
    z2 = np.array(cells, dtype=float).reshape(ROWS, COLS) / 10.0
    import warnings
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        spline = RectBivariateSpline(X, Y, z2, kx=3, ky=3, s=float(factor))
    return np.array_equal(spline(X, Y).reshape(-1), np.array(result["values"]))


def write_case(out, name, factor, cells, result):
    out.write(f"case {name}\nfactor {factor}\n")
    out.write("cells " + " ".join(str(v) for v in cells) + "\n")
    if result is None:
        out.write("end\n")
        return
    out.write(f"ier {result['ier']}\nfp {result['fp']!r}\n")
    out.write(f"tx {len(result['tx'])} " + " ".join(repr(v) for v in result["tx"]) + "\n")
    out.write(f"ty {len(result['ty'])} " + " ".join(repr(v) for v in result["ty"]) + "\n")
    out.write("values " + " ".join(repr(v) for v in result["values"]) + "\n")
    out.write("written " + " ".join(str(v) for v in result["written"]) + "\n")
    out.write("end\n")


def read_cases(path):
    cases, name, factor, cells = [], None, None, None
    with open(path) as f:
        for line in f:
            word, _, rest = line.strip().partition(" ")
            if word == "case":
                name = rest
            elif word == "factor":
                factor = int(rest)
            elif word == "cells":
                cells = [int(v) for v in rest.split()]
            elif word == "end":
                cases.append((name, factor, cells))
    return cases


# ---- table generators -------------------------------------------------------

def clip(a):
    return [int(v) for v in np.clip(np.rint(a), 0, 255).reshape(-1)]


def surface(rng, scale=1.0):
    """A VE-like surface: rising with MAP, a torque hump over RPM."""
    r = np.array(RPM, float)[:, None]
    m = np.array(MAP, float)[None, :]
    base = rng.uniform(40, 90) + rng.uniform(60, 120) * (m - 20) / 80
    hump = rng.uniform(10, 50) * np.exp(-((r - rng.uniform(2500, 5500)) / rng.uniform(1200, 3000)) ** 2)
    return (base + hump) * scale


def flat(rng):
    return clip(np.full((ROWS, COLS), rng.integers(0, 256)))


def uniform(rng):
    return [int(v) for v in rng.integers(0, 256, ROWS * COLS)]


def noisy_surface(rng):
    return clip(surface(rng) + rng.normal(0, rng.uniform(0.5, 8), (ROWS, COLS)))


def learned(rng):
    """A surface where only visited cells moved a little."""
    a = surface(rng)
    visited = rng.random((ROWS, COLS)) < rng.uniform(0.2, 0.7)
    a = a + visited * rng.normal(0, 6, (ROWS, COLS))
    return clip(a)


def ridge(rng):
    a = surface(rng)
    if rng.random() < 0.5:
        a[rng.integers(0, ROWS), :] += rng.uniform(-60, 60)
    else:
        a[:, rng.integers(0, COLS)] += rng.uniform(-60, 60)
    return clip(a)


def spike(rng):
    a = surface(rng)
    a[rng.integers(0, ROWS), rng.integers(0, COLS)] += rng.choice([-1, 1]) * rng.uniform(20, 120)
    return clip(a)


def step(rng):
    a = surface(rng)
    a[rng.integers(5, 30):, :] += rng.uniform(-50, 50)
    return clip(a)


def near_limits(rng):
    """Surfaces reaching 0 or 255 so that the limits of a cell take part."""
    a = surface(rng, scale=rng.uniform(1.6, 2.6)) if rng.random() < 0.5 else surface(rng) - rng.uniform(80, 140)
    return clip(a + rng.normal(0, 3, (ROWS, COLS)))


def checker(rng):
    a = np.indices((ROWS, COLS)).sum(axis=0) % 2 * rng.uniform(5, 60) + rng.uniform(0, 150)
    return clip(a)


GENERATORS = [("flat", flat), ("uniform", uniform), ("noisy", noisy_surface),
              ("learned", learned), ("ridge", ridge), ("spike", spike), ("step", step),
              ("limits", near_limits), ("checker", checker)]


def reference_cases():
    rng = np.random.default_rng(20240517)
    cases = []
    for round_ in range(20):
        for kind, make in GENERATORS:
            factor = len(cases) % 20 + 1
            cases.append((f"{kind}-{round_}", factor, make(rng)))
    # Every factor on one realistic table and on one rough one.
    realistic, rough = learned(rng), uniform(rng)
    for factor in range(1, 21):
        cases.append((f"sweep-learned-s{factor}", factor, realistic))
        cases.append((f"sweep-uniform-s{factor}", factor, rough))
    return cases


def find_rare_codes(wanted, each, tries):
    """Random tables until each wanted error code has turned up `each` times
    (1 never does with these knot limits, so the search runs to the end)."""
    rng = np.random.default_rng(7)
    found = []
    seen = {code: 0 for code in wanted}
    for i in range(tries):
        kind, make = GENERATORS[i % len(GENERATORS)]
        factor = int(rng.integers(1, 21))
        cells = make(rng)
        ier = smooth(cells, factor)["ier"]
        if ier in seen and seen[ier] < each:
            seen[ier] += 1
            found.append((f"rare-ier{ier}-{kind}-{i}", factor, cells))
    return found


def time_scipy(cells, factor, repeats):
    """Best of `repeats` (wall, processor) microseconds per call."""
    import time
    import timeit
    z2 = np.array(cells, dtype=float).reshape(ROWS, COLS) / 10.0

    def call():
        RectBivariateSpline(X, Y, z2, kx=3, ky=3, s=float(factor))(X, Y)

    result = []
    for clock in (time.perf_counter, time.process_time):
        timer = timeit.Timer(call, timer=clock)
        number, _ = timer.autorange()
        result.append(min(timer.repeat(repeat=repeats, number=number)) / number * 1e6)
    return result


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--time":
        _, factor, cells = read_cases(sys.argv[2])[0]
        wall, cpu = time_scipy(cells, factor, int(sys.argv[3]))
        print(f"{wall:.3f} {cpu:.3f}")
        return 0
    if len(sys.argv) == 4 and sys.argv[1] == "--live":
        with open(sys.argv[3], "w") as out:
            for name, factor, cells in read_cases(sys.argv[2]):
                write_case(out, name, factor, cells, smooth(cells, factor))
        return 0
    cases = reference_cases()
    cases += find_rare_codes({1, 2, 3, -1}, 3, 20000)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference.txt")
    counts = {}
    with open(path, "w") as out:
        for name, factor, cells in cases:
            result = smooth(cells, factor)
            assert same_as_rect_bivariate(cells, factor, result), name
            counts[result["ier"]] = counts.get(result["ier"], 0) + 1
            write_case(out, name, factor, cells, result)
    print(f"{len(cases)} cases, ier counts {dict(sorted(counts.items()))}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
