#!/usr/bin/env python3
"""The database viewer on a database of about 200 MB (two million records).

Makes the database once, as users do, with `valdrex-solve --batch --save` over random
polynomials of degrees 2 to 12 solved by the exact, rational and Bairstow methods, and keeps it
in FOLDER. Each run copies it (the viewer's save changes the copy) and runs viewer_bench on it
with a record near the end as the text to find, then, with --plain-text-edit, the same file fed
into a plain-text editor in chunks for comparison.
"""
import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from make_corpus import write_corpus  # noqa: E402

# Degree and method of each batch: records of 60 to 130 bytes, about 100 on average.
BATCHES = ((2, "exact"), (3, "exact"), (4, "exact"), (6, "rational"), (8, "bairstow"),
           (12, "bairstow"))


def make_database(build, folder, records):
    database = os.path.join(folder, f"database-{records}.txt")
    if os.path.exists(database):
        return database
    os.makedirs(folder, exist_ok=True)
    solve = os.path.join(build, "src", "cli", "valdrex-solve")
    partial = database + ".part"
    if os.path.exists(partial):
        os.remove(partial)
    for degree, method in BATCHES:
        corpus = os.path.join(folder, f"degree-{degree}.txt")
        write_corpus(corpus, degree, records // len(BATCHES), seed=7)
        with open(corpus, "rb") as stdin:
            # Some equations overflow; their messages are of no interest here.
            subprocess.run([solve, "--batch", "--method", method, "--save", partial],
                           stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           check=False)
        os.remove(corpus)
    os.rename(partial, database)
    return database


def needle_near_end(database):
    """The solution set of a record about a thousand lines before the end that occurs nowhere
    else: it starts as every record's does, so the search compares at every record."""
    with open(database, "rb") as file:
        contents = file.read()
    for line in reversed(contents[-200_000:].split(b"\r\n")[1:-1000]):
        solutions = line[line.find(b"S={"):]
        if line.find(b"S={") >= 0 and len(solutions) > 20 and contents.count(solutions) == 1:
            return solutions.decode("cp1252")
    raise SystemExit("no record near the end occurs only once")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("build", nargs="?", default="build", help="the build folder")
    parser.add_argument("--folder", default=None,
                        help="where the database is kept (default: BUILD/bench/viewer-data)")
    parser.add_argument("--records", type=int, default=2_100_000)
    parser.add_argument("--plain-text-edit", action="store_true",
                        help="also feed the file into a plain-text editor in chunks")
    args = parser.parse_args()
    folder = args.folder or os.path.join(args.build, "bench", "viewer-data")
    database = make_database(args.build, folder, args.records)
    needle = needle_near_end(database)
    bench = os.path.join(args.build, "bench", "viewer_bench")
    copy = os.path.join(folder, "copy.txt")
    shutil.copyfile(database, copy)
    subprocess.run([bench, copy, needle], check=True)
    if args.plain_text_edit:
        subprocess.run([bench, "--plain-text-edit", database], check=True)
    os.remove(copy)


if __name__ == "__main__":
    main()
