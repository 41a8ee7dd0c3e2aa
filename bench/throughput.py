#!/usr/bin/env python3
"""Batch throughput of valdrex-solve against two peers on the same corpus.

For every degree the contenders run alternately, ROUNDS times each, reading the corpus file
and writing every result to /dev/null, pinned to one core; the best CPU time of each counts.
Contenders: valdrex-solve --batch (plain and --json; the exact method for degrees 2 to 4,
Bairstow and rational roots above, all roots at every degree), the GSL peer (gsl_poly_complex_solve) and numpy.roots in a
Python loop (skipped when no python3 with numpy is found).
With --save, every valdrex-solve run also appends each record to a fresh file, and its CPU time
includes the process that writes them.
"""
import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEGREES = (2, 3, 4, 6, 8, 12)


def find_numpy_python():
    for candidate in (sys.executable, "/usr/bin/python3", shutil.which("python3")):
        if candidate and subprocess.run([candidate, "-c", "import numpy"],
                                        capture_output=True).returncode == 0:
            return candidate
    return None


def make_corpus(folder, count, seed):
    stamp = os.path.join(folder, "stamp")
    wanted = f"{count} {seed}\n"
    if os.path.exists(stamp) and open(stamp).read() == wanted:
        return
    subprocess.run([sys.executable, os.path.join(HERE, "make_corpus.py"), folder,
                    "--count", str(count), "--seed", str(seed)], check=True)
    with open(stamp, "w") as out:
        out.write(wanted)


def build_gsl_peer(work):
    peer = os.path.join(work, "gsl_peer")
    source = os.path.join(HERE, "gsl_peer.c")
    if not os.path.exists(peer) or os.path.getmtime(peer) < os.path.getmtime(source):
        subprocess.run(["cc", "-O2", "-Wall", "-Wextra", "-Werror", "-o", peer, source, "-lgsl",
                        "-lgslcblas", "-lm"], check=True)
    return peer


def timed(command, corpus, env):
    """CPU seconds (user and system) of one run, its waited-for children included: the machine
    may be shared, and CPU time is what one core spends, however busy the others are."""
    if "--save" in command:
        save = command[command.index("--save") + 1]
        if os.path.exists(save):
            os.remove(save)
    with open(corpus, "rb") as stdin:
        process = subprocess.Popen(command, stdin=stdin, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, env=env)
        _, status, usage = os.wait4(process.pid, 0)
    returncode = os.waitstatus_to_exitcode(status)
    # valdrex-solve exits 1 when a line gets an error box, such as the rational method's
    # "Overflow" on many random equations of high degree: those lines are answered too.
    if returncode not in (0, 1):
        raise SystemExit(f"{' '.join(command)} failed with {returncode}")
    return usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", nargs="?", default="build", help="the CMake build folder")
    parser.add_argument("--rounds", type=int, default=int(os.environ.get("ROUNDS", 3)))
    parser.add_argument("--count", type=int, default=100_000, help="polynomials per degree")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--degrees", type=int, nargs="*", default=list(DEGREES))
    parser.add_argument("--methods", nargs="*",
                        help="the valdrex-solve methods to run (default: exact for degrees 2 to "
                             "4, bairstow and rational above; all at every degree)")
    parser.add_argument("--baseline", metavar="SOLVE",
                        help="another valdrex-solve (an older build) run in the same rounds, "
                             "plain output only, to compare before and after a change")
    parser.add_argument("--save", action="store_true",
                        help="valdrex-solve runs save their records (--save), to time the appends")
    args = parser.parse_args()

    solve = os.path.join(args.build, "src", "cli", "valdrex-solve")
    work = os.path.join(args.build, "bench", "throughput")
    os.makedirs(work, exist_ok=True)
    make_corpus(os.path.join(work, "corpus"), args.count, args.seed)
    gsl_peer = build_gsl_peer(work)
    numpy_python = find_numpy_python()
    pin = ["taskset", "-c", "0"] if shutil.which("taskset") else []
    env = dict(os.environ, OPENBLAS_NUM_THREADS="1", OMP_NUM_THREADS="1")
    # Tuning variables for old OpenBLAS builds slow a current numpy down; not for this run.
    numpy_env = {k: v for k, v in env.items() if k not in ("OPENBLAS_CORETYPE", "OPENBLAS_L2_SIZE")}

    save = ["--save", os.path.join(work, "save.txt")] if args.save else []
    print(f"{args.count} polynomials per degree, best CPU time of {args.rounds} alternating "
          f"rounds, one core{'' if pin else ' (taskset missing: not pinned)'}")
    if not numpy_python:
        print("numpy not found: its column is skipped")
    header = f"{'degree':>6}  {'contender':<26} {'polys/s':>12}  {'vs GSL':>8}  {'vs numpy':>8}"
    print(header)
    print("-" * len(header))
    targets = []
    for degree in args.degrees:
        corpus = os.path.join(work, "corpus", f"degree-{degree}.txt")
        historic = ["exact"] if degree <= 4 else ["bairstow", "rational"]
        methods = args.methods or historic + ["all"]
        contenders = {}
        for method in methods:
            base = pin + [solve, "--batch", "--method", method] + save
            contenders[f"valdrex {method}"] = (base, env)
            contenders[f"valdrex {method} --json"] = (base + ["--json"], env)
            if args.baseline:
                contenders[f"baseline {method}"] = (
                    pin + [args.baseline, "--batch", "--method", method] + save, env)
        contenders["GSL complex_solve"] = (pin + [gsl_peer, corpus], env)
        if numpy_python:
            contenders["numpy.roots"] = (pin + [numpy_python, os.path.join(HERE, "numpy_peer.py"),
                                                corpus], numpy_env)
        best = {name: float("inf") for name in contenders}
        for _ in range(args.rounds):
            for name, (command, command_env) in contenders.items():
                best[name] = min(best[name], timed(command, corpus, command_env))
        rate = {name: args.count / seconds for name, seconds in best.items()}
        for name in contenders:
            vs_gsl = rate[name] / rate["GSL complex_solve"]
            vs_numpy = rate[name] / rate["numpy.roots"] if "numpy.roots" in rate else None
            print(f"{degree:>6}  {name:<26} {rate[name]:>12,.0f}  {vs_gsl:>7.2f}x  "
                  + (f"{vs_numpy:>7.1f}x" if vs_numpy else f"{'-':>8}"))
        for method in methods:
            plain = rate[f"valdrex {method}"]
            targets.append((f"degree {degree} {method}: ahead of GSL",
                            plain > rate["GSL complex_solve"]))
            if method == "all":
                continue  # its targets end with GSL
            if degree == 2:
                targets.append(("degree 2: at least 1,000,000 per second", plain >= 1e6))
            if "numpy.roots" in rate and degree in (2, 12):
                factor = 25 if degree == 2 else 3
                targets.append((f"degree {degree} {method}: at least {factor}x numpy.roots",
                                plain >= factor * rate["numpy.roots"]))
        sys.stdout.flush()
    print()
    for text, met in targets:
        print(f"{'met   ' if met else 'MISSED'}  {text}")


if __name__ == "__main__":
    main()
