#!/usr/bin/env python3
"""Writes the throughput corpus: random integer polynomials, one per line, coefficients
highest power first separated by blanks (the batch input of valdrex-solve).

Coefficients are drawn from [-20, 20], the leading one never 0. The same seed always gives the
same files.
"""
import argparse
import os
import random

DEGREES = (2, 3, 4, 6, 8, 12)


def write_corpus(path, degree, count, seed):
    rng = random.Random(seed * 1000 + degree)
    nonzero = [c for c in range(-20, 21) if c != 0]
    lines = []
    for _ in range(count):
        coefficients = [rng.choice(nonzero)] + [rng.randint(-20, 20) for _ in range(degree)]
        lines.append(" ".join(map(str, coefficients)))
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("folder", help="where degree-N.txt files are written")
    parser.add_argument("--count", type=int, default=100_000, help="polynomials per degree")
    parser.add_argument("--seed", type=int, default=1, help="random seed")
    parser.add_argument("--degrees", type=int, nargs="*", default=list(DEGREES))
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)
    for degree in args.degrees:
        write_corpus(os.path.join(args.folder, f"degree-{degree}.txt"), degree, args.count,
                     args.seed)


if __name__ == "__main__":
    main()
