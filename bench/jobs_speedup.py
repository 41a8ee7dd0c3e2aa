#!/usr/bin/env python3
"""Wall-clock speed-up of valdrex-solve --batch with several jobs over one job.

Runs --jobs 1 and --jobs N alternately on the degree-12 corpus (made by make_corpus.py), ROUNDS
times each with the output going to /dev/null, and reports the best wall time of each, their
ratio, and the CPU time each spent (what the hand-over between threads costs). It also checks
that both write the same bytes. The machine must have N idle cores for the wall-time ratio to
mean anything; the CPU times mean something on a busy machine too, and so does the CPU time of
each thread of the N-job run: with a core each, the run would take about as long as its busiest
thread, which gives the speed-up to expect on N idle cores.
"""
import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


TICK = os.sysconf("SC_CLK_TCK")


def thread_seconds(pid, seen):
    """Updates `seen` with the CPU seconds of each thread of the running process `pid`."""
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/stat", encoding="ascii") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            seen[task] = (int(fields[11]) + int(fields[12])) / TICK  # utime + stime
    except OSError:
        pass  # the process or a thread just ended


def timed(command, corpus):
    """Wall seconds, CPU seconds (user and system, every thread) and the CPU seconds of each
    thread, largest first (sampled every few milliseconds, so slightly short), of one run."""
    threads = {}
    with open(corpus, "rb") as stdin:
        start = time.perf_counter()
        process = subprocess.Popen(command, stdin=stdin, stdout=subprocess.DEVNULL)
        while True:
            pid, status, usage = os.wait4(process.pid, os.WNOHANG)
            if pid != 0:
                break
            thread_seconds(process.pid, threads)
            time.sleep(0.005)
        wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{' '.join(command)} failed")
    return wall, usage.ru_utime + usage.ru_stime, sorted(threads.values(), reverse=True)


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
    threads = {}
    load_before = os.getloadavg()[0]
    for _ in range(args.rounds):
        for jobs, command in commands.items():
            seconds, cpu_seconds, thread_cpu = timed(command, corpus)
            wall[jobs] = min(wall.get(jobs, seconds), seconds)
            if cpu_seconds < cpu.get(jobs, float("inf")):
                cpu[jobs] = cpu_seconds
                threads[jobs] = thread_cpu
    ratio = wall[1] / wall[args.jobs]
    print(f"degree 12, --method {args.method}, {args.count} polynomials, best of {args.rounds}, "
          f"load average {load_before:.1f} before, {os.getloadavg()[0]:.1f} after")
    for jobs in commands:
        per_thread = " ".join(f"{t:.2f}" for t in threads[jobs])
        print(f"  --jobs {jobs}: wall {wall[jobs]:.3f} s, CPU {cpu[jobs]:.3f} s "
              f"(threads: {per_thread})")
    print(f"  speed-up {ratio:.2f}x; CPU spent by {args.jobs} jobs: "
          f"{cpu[args.jobs] / cpu[1]:.2f}x one job's")
    busiest = max(threads[args.jobs][0], cpu[args.jobs] / args.jobs)
    print(f"  on {args.jobs} idle cores: about {busiest:.3f} s (busiest thread), "
          f"a speed-up of {cpu[1] / busiest:.2f}x")
    if args.jobs == 2:
        print(f"{'met   ' if ratio >= 1.7 else 'MISSED'}  two jobs at least 1.7 times one job")


if __name__ == "__main__":
    main()
