#!/usr/bin/env python3
"""Writes the two copper-like example data files, examples/copper-10K.chi and
examples/copper-150K.chi: synthetic, not measured. One shell as copper's
first (12 neighbours at 2.55 A, S0^2 = 0.9), a smooth amplitude and a linear
phase, the Debye-Waller sigma^2 of a correlated Debye model with theta_D
about 315 K at 10 K and at 150 K, and a little Gaussian noise. Standard
library only; the seed makes the files reproducible."""
import math
import os
import random

N, S02, R = 12, 0.9, 2.55
SIGMA2 = {"10K": 0.0030, "150K": 0.0047}  # A^2
NOISE = 0.0005
SEED = 20261208


def amplitude(k):
    # Backscattering amplitude (A) with the mean free path folded in.
    return 0.6 * math.exp(-(((k - 5.5) / 6.0) ** 2))


def phase(k):
    return 1.6 - 0.55 * k  # rad


def chi(k, sigma2):
    return (N * S02 * amplitude(k) / (k * R * R) * math.sin(2 * k * R + phase(k))
            * math.exp(-2 * sigma2 * k * k))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    rng = random.Random(SEED)
    for name, sigma2 in SIGMA2.items():
        path = os.path.join(here, "..", "examples", "copper-%s.chi" % name)
        with open(path, "w", encoding="ascii", newline="\n") as f:
            f.write("# Tovik example: copper-like chi(k) at %s K, synthetic (not measured).\n" % name[:-1])
            f.write("# Made by scripts/make-copper-data.py: one shell as copper's first, N = 12, S0^2 = 0.9,\n")
            f.write("# R = 2.55 A, chi(k) = N S0^2 F(k) sin(2kR + 1.6 - 0.55 k) exp(-2 sigma^2 k^2) / (k R^2),\n")
            f.write("# F(k) = 0.6 exp(-((k - 5.5)/6)^2) A, sigma^2 = %.4f A^2 (10 K: 0.0030, 150 K: 0.0047),\n" % sigma2)
            f.write("# plus Gaussian noise of %.4f (Python random, seed %d); k from 2 to 15 in steps of 0.05.\n" % (NOISE, SEED))
            f.write("#   k (1/A)            chi(k)\n")
            for i in range(261):
                k = 2.0 + 0.05 * i
                f.write("%.6E   %15.8E\n" % (k, chi(k, sigma2) + rng.gauss(0, NOISE)))


if __name__ == "__main__":
    main()
