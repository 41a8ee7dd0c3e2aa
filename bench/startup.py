#!/usr/bin/env python3
"""Start-up of the window and of one valdrex-solve run, for one or more builds.

The window runs offscreen with the welcome window off, and the first-window probe (built beside
the benchmarks) ends it as soon as the main window has been painted; valdrex-solve solves
x^2 - 3x + 2. The builds' runs alternate, ROUNDS times each, so that they share the machine's
load; the median wall time and the median CPU time (user + system, from the process's own
resource use) of each are printed.

    startup.py [--rounds N] [--probe PATH] BUILD_DIR [BUILD_DIR ...]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def timed(command, env):
    """Wall and CPU seconds of one run, which must end with status 0."""
    start = time.perf_counter()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{' '.join(command)} ended with status {status}")
    return wall, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("builds", nargs="+")
    parser.add_argument("--rounds", type=int, default=30)
    parser.add_argument("--probe", help="the probe library (default: the first build's)")
    args = parser.parse_args()
    probes = [args.probe] if args.probe else [
        os.path.join(build, "bench", "libfirst_window_probe.so") for build in args.builds]
    probe = next((os.path.abspath(p) for p in probes if os.path.exists(p)), None)
    if probe is None:
        sys.exit("no probe found: build the target first_window_probe")

    with tempfile.TemporaryDirectory(prefix="valdrex-startup-") as home:
        measure(args.builds, args.rounds, probe, home)


def measure(builds, rounds, probe, home):
    os.makedirs(os.path.join(home, ".config", "Valdrex"))
    with open(os.path.join(home, ".config", "Valdrex", "Valdrex.ini"), "w") as ini:
        ini.write("[Options]\nWelcome=0\n")
    os.makedirs(os.path.join(home, "runtime"), mode=0o700)
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_RUNTIME_DIR=os.path.join(home, "runtime"), QT_QPA_PLATFORM="offscreen")
    window_env = dict(env, LD_PRELOAD=probe)

    contenders = []
    for build in builds:
        contenders.append((f"{build}: window", [os.path.join(build, "src/app/valdrex")],
                           window_env))
        contenders.append((f"{build}: valdrex-solve 1 -3 2",
                           [os.path.join(build, "src/cli/valdrex-solve"), "1", "-3", "2"], env))
    times = {name: [] for name, _, _ in contenders}
    for _ in range(rounds):
        for name, command, run_env in contenders:
            times[name].append(timed(command, run_env))
    for name, runs in times.items():
        wall = statistics.median(w for w, _ in runs) * 1000
        cpu = statistics.median(c for _, c in runs) * 1000
        print(f"{name:60} wall {wall:7.1f} ms   CPU {cpu:6.1f} ms")


if __name__ == "__main__":
    main()
