#!/usr/bin/env python3
"""Throughput peer: numpy.roots on each line of a corpus file, every root printed."""
import sys

import numpy as np


def main():
    out = sys.stdout
    with open(sys.argv[1]) as corpus:
        for line in corpus:
            roots = np.roots([float(c) for c in line.split()])
            out.write(" ".join(f"{r.real:.7g}{r.imag:+.7g}i" for r in roots))
            out.write("\n")


if __name__ == "__main__":
    main()
