#!/usr/bin/python3
"""Three data sets in one Einstein fit in numpy + scipy, as a peer for
tovik_bench's fitSeries: the same problem and the same algorithm.

The data: chi(k) = A sin(2kR + P0) exp(-2 sigma2(T) k^2) / (k R^2)
+ 0.01 sin(1000 (s+1) k) at T = 10, 150, 300 K, k 1 ... 15 in steps of 0.05,
A 10.8, R 2.55, P0 1, sigma2 from the Einstein model (theta_E 233 K,
mu 63.546 / 2 u, hbar^2 / (2 k_B u) = 24.254 A^2 K). The model on the 0.1 1/A
grid of 1024 points (k 0 ... 15.9 carry the signal), window flat on k 1 ... 15,
k^2; both transformed with dk / sqrt(pi); the residuals are the real and
imaginary parts of model - data for R in 1 ... 3 A, each set's weighted by
sqrt(N_idp / m) / epsilon_R (epsilon_R the rms |chi(R)| of its data over
10 ... 15 A) relative to the first set's. MINPACK's lmdif
(scipy.optimize.leastsq) over A, R, P0, theta_E from 8, 2.5, 0.6, 300 K, each
bounded as x = lo + (hi - lo) (sin u + 1) / 2.

    /usr/bin/python3 bench/peer_series.py [repetitions]

Prints theta_E, the number of evaluations and the median time of one fit in
milliseconds (wall clock and processor time: on a busy machine the second
compares better with tovik_bench's CPU column).
"""
import statistics
import sys
import time

import numpy as np
from scipy.optimize import leastsq

C = 24.254
MASS = 63.546 / 2
DK = 0.1
N = 1024
KCOUNT = 160
TEMPERATURES = (10.0, 150.0, 300.0)
K = np.arange(N) * DK
WINDOW = np.zeros(N)
WINDOW[10:151] = 1.0
WEIGHT = K**2 * WINDOW
BIN = np.pi / (N * DK)
R = np.arange(N // 2) * BIN
FIT_BINS = (R >= 1.0) & (R <= 3.0)
NOISE_BINS = (R >= 10.0) & (R <= 15.0)
NIDP = 2 * (15.0 - 1.0) * (3.0 - 1.0) / np.pi
# amplitude, R, P0, theta_E: start and limits
START = np.array([8.0, 2.5, 0.6, 300.0])
LOW = np.array([0.0, 0.1, -10.0, 10.0])
HIGH = np.array([50.0, 10.0, 10.0, 3000.0])


def einstein(theta, t):
    return C / (MASS * theta) / np.tanh(theta / (2 * t))


def transform(chi):
    spectrum = np.fft.rfft(chi * WEIGHT)[: N // 2] * DK / np.sqrt(np.pi)
    return spectrum


def data_sets():
    sets = []
    for s, t in enumerate(TEMPERATURES):
        k = 1 + np.arange(281) * 0.05
        chi = 10.8 * np.sin(2 * k * 2.55 + 1.0) * np.exp(-2 * einstein(233.0, t) * k * k) / (
            k * 2.55**2
        ) + 0.01 * np.sin(1000 * (s + 1) * k)
        on_grid = np.zeros(N)
        on_grid[10:151] = chi[0:281:2]  # k 1.0 ... 15.0 on the 0.1 grid
        sets.append((t, transform(on_grid)))
    return sets


def fit(sets):
    inside = (K >= 1.0) & (K <= 15.0)
    inside[KCOUNT:] = False
    eps = [np.sqrt(np.mean(np.abs(d[NOISE_BINS]) ** 2)) for _, d in sets]
    weights = [eps[0] / e for e in eps]  # N_idp / m is the same for every set
    data = [np.concatenate([d[FIT_BINS].real, d[FIT_BINS].imag]) for _, d in sets]
    evaluations = [0]

    def external(u):
        return LOW + (HIGH - LOW) * (np.sin(u) + 1) / 2

    def residuals(u):
        evaluations[0] += 1
        a, r, p0, theta = external(u)
        out = []
        for (t, _), d, w in zip(sets, data, weights):
            sigma2 = einstein(theta, t)
            chi = np.zeros(N)
            k = K[inside]
            chi[inside] = a * np.sin(2 * k * r + p0) * np.exp(-2 * sigma2 * k * k) / (k * r * r)
            m = transform(chi)
            out.append((np.concatenate([m[FIT_BINS].real, m[FIT_BINS].imag]) - d) * w)
        return np.concatenate(out)

    t = np.clip(2 * (START - LOW) / (HIGH - LOW) - 1, -1 + 1e-3, 1 - 1e-3)
    u, _, _, _, ier = leastsq(
        residuals, np.arcsin(t), ftol=1.5e-8, xtol=1.5e-8, gtol=0.0, maxfev=200 * 5,
        epsfcn=0.0, factor=100.0, full_output=True)
    return external(u), evaluations[0], ier


def main():
    repetitions = int(sys.argv[1]) if len(sys.argv) > 1 else 20
    sets = data_sets()
    times, cpu = [], []
    for _ in range(repetitions):
        start, start_cpu = time.perf_counter(), time.process_time()
        best, evaluations, ier = fit(sets)
        times.append((time.perf_counter() - start) * 1e3)
        cpu.append((time.process_time() - start_cpu) * 1e3)
    print(f"theta_E {best[3]:.3f} K (A {best[0]:.4f}, R {best[1]:.5f}, P0 {best[2]:.4f}), "
          f"{evaluations} evaluations, MINPACK info {ier}")
    print(f"median {statistics.median(times):.2f} ms over {repetitions} fits "
          f"(processor time {statistics.median(cpu):.2f} ms)")


if __name__ == "__main__":
    main()
