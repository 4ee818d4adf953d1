#!/usr/bin/env python3
"""The cost of one typed line, per interpreter, for nelo-cli and for earlier builds of it.

    bench/line_costs.py --cli NELO_CLI [--base LABEL=NELO_CLI ...] [--work DIR]
                        [--rounds N] [--no-callgrind]

Generates its inputs (the same for every run), then:

1. Times every program on every input in interleaved rounds: each round runs each
   command once, in an order that rotates from round to round, so a busy moment of a
   shared machine falls on all of them alike. Wall clock and CPU (user + system, from
   wait4) are the medians over the rounds. Rows: arithmetic against `bc -l`, weekday
   questions against `date -f`, each build of nelo-cli against the first.
2. The per-line cost of each interpreter: (time of the input - time of its set-up) /
   lines, where the set-up is nelo-cli with no lines (or with the entries a period
   query looks at), timed in the same rounds.
3. With valgrind installed (and no --no-callgrind): instructions per line counted by
   callgrind, which a busy machine does not disturb: the first line (the instructions
   of set-up plus one line, less those of the set-up) and the lines after it (the
   difference between two lengths of input, divided by the lines between them).

The environment (NELO_NOW, TZ, LC_ALL, the XDG folders) is set by the caller
(bench/run_peers.sh); this program changes none of it.
"""

import argparse
import itertools
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import time

FULL = str.maketrans("0123456789/", "０１２３４５６７８９／")


def write_lines(path, lines):
    with open(path, "w", encoding="utf-8") as f:
        for line in lines:
            f.write(line + "\n")


def gen_inputs(work, here):
    """Writes the inputs; returns the workloads as (key, label, set-up file, body file, lines)."""
    rnd = random.Random(20031)
    expr = subprocess.run(["awk", "-v", "n=200000", "-f", os.path.join(here, "gen_expressions.awk")],
                          check=True, capture_output=True, text=True).stdout.splitlines()
    write_lines(f"{work}/arith.txt", expr)

    weekday, dates = [], []
    for _ in range(200000):
        y, m, d = rnd.randint(1971, 2037), rnd.randint(1, 12), rnd.randint(1, 28)
        weekday.append("曜日 " + f"{y}/{m}/{d}".translate(FULL))
        dates.append(f"{y:04d}-{m:02d}-{d:02d}")
    write_lines(f"{work}/weekday.txt", weekday)
    write_lines(f"{work}/dates.txt", dates)

    # Schedule registration: entries that never overlap, on days spread over ten years
    # and at six times of day, typed in a scrambled order.
    import datetime
    n = 20000
    sched = []
    for k in range(n):
        i = (k * 7919) % n
        day = datetime.date(2003, 6, 2) + datetime.timedelta(days=i % 3650)
        hour = 8 + 2 * (i // 3650)
        sched.append(f"{day.year}年{day.month}月{day.day}日{hour}:00 {hour}:30 会議{i}")
    write_lines(f"{work}/schedule.txt", sched)

    # Period queries over a notebook with one entry a day from June 2003 to May 2004: a
    # day, in two forms; each answer lists the entry it finds.
    setup = []
    for i in range(366):
        day = datetime.date(2003, 6, 1) + datetime.timedelta(days=i)
        setup.append(f"{day.year}年{day.month}月{day.day}日10:00 11:00 打合せ{i}")
    write_lines(f"{work}/period_setup.txt", setup)
    queries = []
    for k in range(20000):
        m, d = rnd.randint(1, 12), rnd.randint(1, 28)
        if k % 2 == 0:
            queries.append("予定 " + f"{m}/{d}".translate(FULL))
        else:
            queries.append(f"{m}/{d}".translate(FULL) + "の予定")
    write_lines(f"{work}/period.txt", setup + queries)

    memo = [f"氏名{i}、項目{k}、03-1234-{i}" for i in range(10000) for k in range(10)]
    write_lines(f"{work}/memo.txt", memo)

    write_lines(f"{work}/fixed.txt", ["天気", "例"] * 100000)
    write_lines(f"{work}/empty.txt", [])

    return [
        ("arith", "arithmetic", "empty.txt", "arith.txt", 200000),
        ("weekday", "weekday questions", "empty.txt", "weekday.txt", 200000),
        ("schedule", "schedule registration", "empty.txt", "schedule.txt", 20000),
        ("period", "period queries", "period_setup.txt", "period.txt", 20000),
        ("memo", "memo registration", "empty.txt", "memo.txt", 100000),
        ("fixed", "fixed words", "empty.txt", "fixed.txt", 200000),
    ]


def run_once(argv, stdin_path):
    """Runs argv with stdin from a file and stdout to /dev/null; returns (wall, cpu)."""
    with open(stdin_path, "rb") as fin, open(os.devnull, "wb") as fout:
        start = time.perf_counter()
        proc = subprocess.Popen(argv, stdin=fin, stdout=fout, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    return wall, usage.ru_utime + usage.ru_stime


def interleaved(commands, rounds):
    """commands: {name: (argv, stdin)}; returns {name: (median wall, median cpu)}."""
    names = list(commands)
    walls = {n: [] for n in names}
    cpus = {n: [] for n in names}
    for n in names:  # one warm-up run each: the page cache and the loader's first touch
        run_once(*commands[n])
    for r in range(rounds):
        k = r % len(names)
        for n in names[k:] + names[:k]:
            w, c = run_once(*commands[n])
            walls[n].append(w)
            cpus[n].append(c)
        print(f"  round {r + 1}/{rounds} done", file=sys.stderr)
    return {n: (statistics.median(walls[n]), statistics.median(cpus[n])) for n in names}


def instructions(cli, stdin_path, work):
    out = f"{work}/callgrind.out"
    with open(stdin_path, "rb") as fin:
        subprocess.run(["nice", "-n", "10", "valgrind", "--tool=callgrind", f"--callgrind-out-file={out}",
                        cli, "--new"], stdin=fin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    with open(out) as f:
        for line in f:
            m = re.match(r"(summary|totals):\s+(\d+)", line)
            if m:
                return int(m.group(2))
    raise RuntimeError(f"no instruction count from callgrind for {cli} < {stdin_path}")


def head(src, dst, count):
    with open(src, encoding="utf-8") as f, open(dst, "w", encoding="utf-8") as g:
        for i, line in enumerate(f):
            if i >= count:
                break
            g.write(line)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", required=True)
    ap.add_argument("--base", action="append", default=[], help="LABEL=PATH of an earlier nelo-cli")
    ap.add_argument("--work", required=True)
    ap.add_argument("--rounds", type=int, default=10)
    ap.add_argument("--no-callgrind", action="store_true")
    args = ap.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    work = args.work
    os.makedirs(work, exist_ok=True)

    builds = [("now", args.cli)] + [tuple(b.split("=", 1)) for b in args.base]
    print("generating the per-line inputs ...", file=sys.stderr)
    loads = gen_inputs(work, here)

    # The answers of an earlier build are compared with the first's: a difference is
    # named, since it may be a change of behaviour rather than of speed.
    notes = []
    for key, _, _, body, _ in loads:
        for i, (_, cli) in enumerate(builds):
            with open(f"{work}/{body}", "rb") as fin, open(f"{work}/answers.{i}", "wb") as fout:
                subprocess.run([cli, "--new"], stdin=fin, stdout=fout, stderr=subprocess.DEVNULL, check=False)
        for i, (label, _) in enumerate(builds[1:], 1):
            same = ours = theirs = 0
            with open(f"{work}/answers.0", "rb") as a, open(f"{work}/answers.{i}", "rb") as b:
                for x, y in itertools.zip_longest(a, b):
                    ours += x is not None
                    theirs += y is not None
                    same += x == y
            if same != ours or ours != theirs:
                notes.append(f"{key}: {label} answers differently ({theirs} output lines against {ours}, "
                             f"{same} of them the same)")
        for i in range(len(builds)):
            os.remove(f"{work}/answers.{i}")

    commands = {}
    for label, cli in builds:
        for setup in sorted({s for _, _, s, _, _ in loads}):
            commands[f"{label}:{setup}"] = ([cli, "--new"], f"{work}/{setup}")
        for key, _, _, body, _ in loads:
            commands[f"{label}:{key}"] = ([cli, "--new"], f"{work}/{body}")
    commands["bc"] = (["bc", "-l"], f"{work}/arith.txt")
    commands["date"] = (["date", "-f", f"{work}/dates.txt", "+%A"], os.devnull)
    print(f"timing {len(commands)} commands in {args.rounds} interleaved rounds ...", file=sys.stderr)
    t = interleaved(commands, args.rounds)

    load_avg = os.getloadavg()
    print()
    print(f"Interleaved runs, {args.rounds} rounds, medians; load average at the end "
          f"{load_avg[0]:.2f} {load_avg[1]:.2f} {load_avg[2]:.2f} on {os.cpu_count()} cores")
    print("(ratio: the peer's time / nelo-cli's, above 1 when nelo-cli is faster; wall clock, then CPU time)")
    print()
    print(f"{'build':<10} {'measure':<34} {'nelo-cli wall / CPU s':>22} {'peer wall / CPU s':>20} {'ratio wall':>10} {'ratio CPU':>9}")
    for label, _ in builds:
        for key, peer, what in (("arith", "bc", "arithmetic, 200,000 lines vs bc -l"),
                                ("weekday", "date", "weekday, 200,000 vs date -f")):
            nw, nc = t[f"{label}:{key}"]
            pw, pc = t[peer]
            print(f"{label:<10} {what:<34} {nw:>10.3f} / {nc:<9.3f} {pw:>8.3f} / {pc:<9.3f} {pw / nw:>10.2f} {pc / nc:>9.2f}")

    # Instructions per line.
    ir = {}
    if not args.no_callgrind and shutil.which("valgrind"):
        k1, k2 = 500, 2500
        print(f"counting instructions with callgrind (set-up, 1, {k1} and {k2} lines) ...", file=sys.stderr)
        for label, cli in builds:
            for key, _, setup, body, _ in loads:
                skip = 0
                if setup != "empty.txt":
                    with open(f"{work}/{setup}", encoding="utf-8") as f:
                        skip = sum(1 for _ in f)
                counts = {}
                for k in (0, 1, k1, k2):
                    head(f"{work}/{body}", f"{work}/cg.txt", skip + k)
                    counts[k] = instructions(cli, f"{work}/cg.txt", work)
                ir[(label, key)] = (counts[1] - counts[0], (counts[k2] - counts[k1]) / (k2 - k1), counts[0])

    print()
    print("Per line: (time of the input - time of its set-up) / lines; instructions from callgrind.")
    print("Lines: arithmetic 12.5*(3-4.25)/7+100; weekday questions 曜日 ２００３／６／１; schedule registration")
    print("2003年6月2日8:00 8:30 会議1 (never overlapping); period queries 予定 ６／５ and ６／５の予定 after one")
    print("entry a day for a year (the set-up); memo registration 氏名1、項目2、03-1234-1; fixed words 天気, 例.")
    print(f"{'build':<10} {'interpreter':<22} {'lines':>7} {'µs/line wall':>12} {'µs/line CPU':>11} "
          f"{'Ir/line':>9} {'Ir 1st line':>11} {'Ir set-up':>11}")
    for key, what, setup, _, n in loads:
        for label, _ in builds:
            bw, bc_ = t[f"{label}:{setup}"]
            w, c = t[f"{label}:{key}"]
            row = (f"{label:<10} {what:<22} {n:>7} {(w - bw) / n * 1e6:>12.3f} {(c - bc_) / n * 1e6:>11.3f}")
            if (label, key) in ir:
                first, per, base = ir[(label, key)]
                row += f" {per:>9.0f} {first:>11} {base:>11}"
            print(row)
    if len(builds) > 1:
        print()
        print("Against the earlier builds: nelo-cli now / earlier, per line (below 1 when now is faster;")
        print("instructions decide whether a line got dearer, else CPU time)")
        print(f"{'build':<10} {'interpreter':<22} {'wall':>7} {'CPU':>7} {'Ir/line':>8}")
        for key, what, setup, _, n in loads:
            for label, _ in builds[1:]:
                nw = t[f"now:{key}"][0] - t[f"now:{setup}"][0]
                nc = t[f"now:{key}"][1] - t[f"now:{setup}"][1]
                ow = t[f"{label}:{key}"][0] - t[f"{label}:{setup}"][0]
                oc = t[f"{label}:{key}"][1] - t[f"{label}:{setup}"][1]
                row = f"{label:<10} {what:<22} {nw / ow:>7.2f} {nc / oc:>7.2f}"
                # The steadiest figure decides whether a line got dearer.
                steady = nc / oc
                if ("now", key) in ir and (label, key) in ir:
                    steady = ir[("now", key)][1] / ir[(label, key)][1]
                    row += f" {steady:>8.2f}"
                if steady > 1.10:
                    row += "   more than 10 % dearer"
                print(row)

    if notes:
        print()
        print("Answers that differ from nelo-cli's now (an earlier build may not read that form yet):")
        for n in notes:
            print("  " + n)


if __name__ == "__main__":
    main()
