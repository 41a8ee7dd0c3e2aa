#!/usr/bin/env python3
"""Wall-clock speed-up of valdrex-solve --batch with several jobs over one job.

Runs --jobs 1 and --jobs N alternately on the degree-12 corpus (made by make_corpus.py), ROUNDS
times each with the output going to /dev/null, and reports the best wall time of each, their
ratio, and the CPU time each spent (what the hand-over between threads costs). It also checks
that both write the same bytes. The machine must have N idle cores for the wall-time ratio to
mean anything; the CPU times mean something on a busy machine too.
"""
import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def timed(command, corpus):
    """Wall seconds and CPU seconds (user and system, every thread) of one run."""
    with open(corpus, "rb") as stdin:
        start = time.perf_counter()
        process = subprocess.Popen(command, stdin=stdin, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{' '.join(command)} failed")
    return wall, usage.ru_utime + usage.ru_stime


def output(command, corpus):
    with open(corpus, "rb") as stdin:
        return subprocess.run(command, stdin=stdin, capture_output=True, check=True).stdout


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", nargs="?", default="build", help="the CMake build folder")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--method", default="bairstow")
    parser.add_argument("--rounds", type=int, default=int(os.environ.get("ROUNDS", 5)))
    parser.add_argument("--count", type=int, default=100_000, help="polynomials")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    solve = os.path.join(args.build, "src", "cli", "valdrex-solve")
    folder = os.path.join(args.build, "bench", "jobs")
    corpus = os.path.join(folder, "degree-12.txt")
    if not os.path.exists(corpus):
        subprocess.run([sys.executable, os.path.join(HERE, "make_corpus.py"), folder,
                        "--count", str(args.count), "--seed", str(args.seed)], check=True)
    commands = {jobs: [solve, "--batch", "--method", args.method, "--jobs", str(jobs)]
                for jobs in (1, args.jobs)}
    if output(commands[1], corpus) != output(commands[args.jobs], corpus):
        raise SystemExit("the outputs differ between the numbers of jobs")
    wall = {}
    cpu = {}
    for _ in range(args.rounds):
        for jobs, command in commands.items():
            seconds, cpu_seconds = timed(command, corpus)
            wall[jobs] = min(wall.get(jobs, seconds), seconds)
            cpu[jobs] = min(cpu.get(jobs, cpu_seconds), cpu_seconds)
    ratio = wall[1] / wall[args.jobs]
    print(f"degree 12, --method {args.method}, {args.count} polynomials, best of {args.rounds}")
    for jobs in commands:
        print(f"  --jobs {jobs}: wall {wall[jobs]:.3f} s, CPU {cpu[jobs]:.3f} s")
    print(f"  speed-up {ratio:.2f}x; CPU spent by {args.jobs} jobs: "
          f"{cpu[args.jobs] / cpu[1]:.2f}x one job's")
    if args.jobs == 2:
        print(f"{'met   ' if ratio >= 1.7 else 'MISSED'}  two jobs at least 1.7 times one job")


if __name__ == "__main__":
    main()
