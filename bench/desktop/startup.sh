#!/usr/bin/env bash
# Start to first paint of nelo against a Qt two-pane hello world (bench/desktop/
# hello_two_pane.cpp), in interleaved runs of both, offscreen and under Xvfb.
#   bench/desktop/startup.sh [BUILD_DIR] [RUNS]
# Each run takes CLOCK_MONOTONIC just before starting the program; the program prints its
# CLOCK_MONOTONIC time at its first paint event (--quit-after-first-paint). Prints the
# median of each and their ratio (target: nelo at most 1.5 times the peer).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-bench}
runs=${2:-20}
if [ ! -x "$build/bin/nelo" ] || [ ! -x "$build/bin/hello_two_pane" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_BENCH=ON -DNELO_BUILD_TESTS=OFF > /dev/null
  cmake --build "$build" -j2 --target nelo hello_two_pane
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export NELO_NOW="2026-12-08 09:00:00"

measure() {  # measure PLATFORM: prints "nelo_ms peer_ms ratio"
  python3 - "$build" "$runs" << 'PY'
import os, statistics, subprocess, sys, time
build, runs = sys.argv[1], int(sys.argv[2])
progs = {"nelo": [f"{build}/bin/nelo", "--new", "--quit-after-first-paint"],
         "peer": [f"{build}/bin/hello_two_pane", "--quit-after-first-paint"]}
times = {k: [] for k in progs}
for i in range(runs + 2):
    for name, cmd in (progs.items() if i % 2 == 0 else reversed(list(progs.items()))):
        t0 = time.monotonic_ns()
        out = subprocess.run(cmd, capture_output=True, text=True, timeout=60).stdout
        paint = [int(l.split("=")[1]) for l in out.splitlines() if l.startswith("FIRSTPAINT_MONO_NS=")]
        if not paint:
            sys.exit(f"{name}: no first paint reported")
        if i >= 2:  # two warm-up rounds
            times[name].append((paint[0] - t0) / 1e6)
n, p = statistics.median(times["nelo"]), statistics.median(times["peer"])
print(f"{n:.1f} {p:.1f} {n / p:.2f}")
PY
}

printf '%-10s %12s %12s %8s\n' platform "nelo ms" "peer ms" ratio
read -r n p r < <(QT_QPA_PLATFORM=offscreen measure)
printf '%-10s %12s %12s %8s\n' offscreen "$n" "$p" "$r"
if command -v xvfb-run > /dev/null; then
  read -r n p r < <(xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb bash -c "$(declare -f measure); build=$build runs=$runs; measure")
  printf '%-10s %12s %12s %8s\n' xvfb "$n" "$p" "$r"
else
  echo "xvfb-run missing (apt-get install xvfb xauth): Xvfb skipped" >&2
fi
