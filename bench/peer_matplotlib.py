#!/usr/bin/python3
"""The work of one parameter change in numpy + matplotlib, as a peer for
tovik_bench's parameterChange: chi(k) and its five factor arrays on the
1024-point k grid, five real FFTs, then both plots drawn in full at
800 x 600 (Agg, one-pixel lines without antialiasing, like the program's).
R alternates between 2.0 and 2.1, so that every change is a real one.

    /usr/bin/python3 bench/peer_matplotlib.py [changes]

Prints the median time of one change in milliseconds.
"""
import statistics
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

N, DK, K_COUNT = 1024, 0.1, 159
K = np.arange(N) * DK
POSITIONS = (3.0, 4.0, 15.0, 16.0)
ENVELOPE_K = np.arange(17.0)
ENVELOPE_F = np.ones(17)
N_POWER, SIGMA, P0, P2 = 2, 0.0, 0.0, 0.0
DR = np.pi / (DK * N)
R_MIN, R_MAX = -2.0, 10.0


def window(k):
    p1, p2, p3, p4 = POSITIONS
    w = np.zeros_like(k)
    rise = (k >= p1) & (k < p2)
    w[rise] = (1 - np.cos((k[rise] - p1) * np.pi / (p2 - p1))) / 2
    w[(k >= p2) & (k <= p3)] = 1
    fall = (k > p3) & (k <= p4)
    w[fall] = (1 + np.cos((k[fall] - p3) * np.pi / (p4 - p3))) / 2
    return w


def synthesize(r):
    k = K[:K_COUNT]
    arrays = {}
    osc = np.zeros(N)
    osc[:K_COUNT] = k ** (N_POWER - 1.0) * np.sin(2 * r * k + P0 + P2 * k * k) / (r * r)
    env = np.zeros(N)
    env[:K_COUNT] = np.interp(k, ENVELOPE_K, ENVELOPE_F)
    win = np.zeros(N)
    win[:K_COUNT] = window(k)
    dw = np.zeros(N)
    dw[:K_COUNT] = np.exp(-2 * SIGMA**2 * k * k)
    chi = osc * env * win * dw
    chi /= np.abs(chi).max()
    arrays.update(chi=chi, osc=osc, env=env, win=win, dw=dw)
    spectra = {name: np.fft.rfft(a) for name, a in arrays.items()}
    return arrays, spectra


def figure():
    fig = plt.figure(figsize=(8, 6), dpi=100)
    ax = fig.add_axes((0, 0, 1, 1))
    ax.set_axis_off()
    return fig, ax


def line(ax, colour, width=1):
    (artist,) = ax.plot([], [], color=colour, linewidth=width * 0.72, antialiased=False)
    return artist


def main():
    changes = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    fig_k, ax_k = figure()
    ax_k.set_xlim(0, 16)
    ax_k.set_ylim(-1.1, 1.1)
    win_k, env_up, env_down, chi_k = (
        line(ax_k, (0, 0.59, 1)),
        line(ax_k, (1, 0.71, 0)),
        line(ax_k, (1, 0.71, 0)),
        line(ax_k, "black", 2),
    )
    for p in POSITIONS:
        ax_k.axvline(p, color=(0, 0.59, 1), linewidth=1.44, antialiased=False)
    for x in ENVELOPE_K:
        ax_k.axvline(x, color=(0, 1, 0.59), linewidth=0.72, antialiased=False)
    ax_k.axhline(0, color=(0.78, 0.78, 0.78), linewidth=0.72, antialiased=False)

    fig_r, ax_r = figure()
    ax_r.set_xlim(R_MIN, R_MAX)
    for x in range(-2, 10):
        ax_r.axvline(x, color=(0.78, 0.78, 0.78), linewidth=0.72, antialiased=False)
    pointer = ax_r.axvline(2.0, color="red", linewidth=0.72, antialiased=False)
    env_r, win_r, osc_r, abs_r = (
        line(ax_r, (1, 0.78, 0)),
        line(ax_r, (0, 0.59, 1)),
        line(ax_r, (0, 1, 0.71)),
        line(ax_r, "black", 2),
    )
    bins = np.arange(int(R_MIN / DR), int(R_MAX / DR) + 1)
    r_values = bins * DR

    def magnitude(spectrum):
        return np.abs(spectrum[np.abs(bins)])

    times = []
    for step in range(changes):
        start = time.perf_counter()
        arrays, spectra = synthesize(2.0 + 0.1 * (step & 1))
        win_k.set_data(K, arrays["win"])
        env_up.set_data(K, arrays["env"])
        env_down.set_data(K, -arrays["env"])
        chi_k.set_data(K, arrays["chi"])
        top = magnitude(spectra["chi"]).max()
        for artist, name in ((env_r, "env"), (win_r, "win"), (osc_r, "osc"), (abs_r, "chi")):
            artist.set_data(r_values, magnitude(spectra[name]))
        ax_r.set_ylim(-0.05 * top, 1.05 * top)
        pointer.set_xdata([2.0, 2.0])
        fig_k.canvas.draw()
        fig_r.canvas.draw()
        fig_k.canvas.buffer_rgba()
        fig_r.canvas.buffer_rgba()
        times.append(time.perf_counter() - start)
    print(
        "numpy %s + matplotlib %s: median %.2f ms per change (%d changes, both plots at 800 x 600)"
        % (np.__version__, matplotlib.__version__, 1000 * statistics.median(times), changes)
    )


if __name__ == "__main__":
    main()
