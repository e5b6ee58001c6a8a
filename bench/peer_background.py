#!/usr/bin/python3
"""One background refinement in numpy + scipy, as a peer for tovik_bench's
backgroundCopper: the same algorithm as absorption/Background on the 10 K
copper foil at the defaults (Rbkg 1 A, k weight 1, k from 0 to the data's end).

mu(E) is put on the 0.05 1/A grid in k = sqrt(0.2624682917 (E - E0)) by a
natural cubic spline; the background is a cubic B-spline on knots spread
evenly over [kmin, kmax]; MINPACK's lmdif (scipy.optimize.leastsq) chooses its
coefficients so that the transform (2048 points, dk / sqrt(pi)) of
k^w * window * chi(k) has as little as possible below Rbkg, with a small clamp
on chi at the high-k end. E0 and the edge step come first, as in the program.

    /usr/bin/python3 bench/peer_background.py [repetitions]

Prints E0, the step, the number of knots and evaluations, and the median time
of one refinement in milliseconds.
"""
import os
import statistics
import sys
import time

import numpy as np
from scipy.interpolate import BSpline, CubicSpline
from scipy.optimize import leastsq

ENERGY_TO_K = 0.2624682917
DK = 0.05
MIN_LENGTH = 2048
SILL = 1.0
CLAMP_POINTS = 5
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "cu_10k.xmu")


def derivative(e, mu):
    i = np.arange(len(e))
    a = np.maximum(i - 1, 0)
    b = np.minimum(i + 1, len(e) - 1)
    return (mu[b] - mu[a]) / (e[b] - e[a])


def normalize(e, mu, pre=(-150.0, -30.0), post=(150.0, np.inf)):
    e0 = e[np.argmax(derivative(e, mu))]
    inside = (e >= e0 + pre[0]) & (e <= e0 + pre[1])
    line = np.polyfit(e[inside] - e0, mu[inside], 1)
    inside = (e >= e0 + post[0]) & (e <= e0 + post[1])
    quadratic = np.polyfit(e[inside] - e0, mu[inside], 2)
    return e0, quadratic[-1] - line[-1]


def window(k, kmin, kmax):
    sill = min(SILL, (kmax - kmin) / 4)
    w = np.where((k >= kmin) & (k <= kmax), 1.0, 0.0)
    rise = (k >= kmin) & (k < kmin + sill)
    w[rise] = np.sin(np.pi / 2 * (k[rise] - kmin) / sill) ** 2
    fall = (k > kmax - sill) & (k <= kmax)
    w[fall] = np.sin(np.pi / 2 * (kmax - k[fall]) / sill) ** 2
    return w


def background(e, mu, e0, step, rbkg=1.0, kweight=1, kmin=0.0, kmax=None):
    below = max(0, np.searchsorted(e, e0) - 1)
    d = e[below:] - e0
    k = np.sign(d) * np.sqrt(ENERGY_TO_K * np.abs(d))
    if kmax is None:
        kmax = k[-1]
    count = int(np.floor(kmax / DK + 1e-9)) + 1
    grid = np.arange(count) * DK
    mu_grid = CubicSpline(k, mu[below:], bc_type="natural")(np.minimum(grid, k[-1]))

    knots = int(np.clip(1 + np.floor(2 * rbkg * (kmax - kmin) / np.pi), 5, 128))
    t = np.r_[[kmin] * 3, np.linspace(kmin, kmax, knots), [kmax] * 3]
    first = int(np.ceil(kmin / DK - 1e-9))
    kin = np.clip(grid[first:], kmin, kmax)
    basis = BSpline.design_matrix(kin, t, 3).toarray()
    mu_in = mu_grid[first:]
    weight = grid[first:] ** kweight * window(grid[first:], kmin, kmax)
    length = MIN_LENGTH
    while length < 2 * count:
        length *= 2
    bins = int(np.ceil(rbkg * length * DK / np.pi))
    factor = DK / np.sqrt(np.pi)
    clamp_weight = factor * kmax**kweight
    signal = np.zeros(length)

    def residuals(c):
        chi = (mu_in - basis @ c) / step
        signal[first:count] = weight * chi
        f = np.fft.rfft(signal)[:bins] * factor
        return np.concatenate(([f.real[0]], f.real[1:], f.imag[1:],
                               clamp_weight * chi[-CLAMP_POINTS:]))

    start = np.linalg.lstsq(basis, mu_in, rcond=None)[0]
    c, _, info, _, _ = leastsq(residuals, start, ftol=1.5e-8, xtol=1.5e-8, full_output=True)[:5]
    chi = np.zeros(count)
    chi[first:] = (mu_in - basis @ c) / step
    return grid, chi, knots, info["nfev"]


def main():
    repetitions = int(sys.argv[1]) if len(sys.argv) > 1 else 50
    e, mu = np.loadtxt(DATA, comments="#", unpack=True)[:2]
    e0, step = normalize(e, mu)
    times = []
    for _ in range(repetitions):
        begin = time.perf_counter()
        _, chi, knots, evaluations = background(e, mu, e0, step)
        times.append(time.perf_counter() - begin)
    print(f"E0 {e0:.2f} eV, step {step:.4f}, {knots} knots, {evaluations} evaluations")
    print(f"one background refinement: {1000 * statistics.median(times):.2f} ms")


if __name__ == "__main__":
    main()
