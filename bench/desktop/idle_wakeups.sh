#!/usr/bin/env bash
# Idle cost of the reminders: nelo --minimized with 10,000 future schedule entries (the
# next reminder hours away) against the same program with an empty notebook (the floor:
# no reminder to wait for) and a Qt two-pane hello world, each left alone under Xvfb with
# a session bus. Counts the context switches of all the process's threads
# (/proc/PID/task/*/status, voluntary and involuntary: each is a wake-up) and its CPU
# time over SECONDS after a settling pause (SETTLE seconds, default 40), and prints them
# per minute.
#   bench/desktop/idle_wakeups.sh [BUILD_DIR] [SECONDS]
# Target: the 10,000 entries add no wake-ups (one timer for the next reminder, no polling).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-bench}
seconds=${2:-60}
# Start-up leaves idle worker threads behind that end 30 s after their last task.
settle=${SETTLE:-40}
for tool in xvfb-run dbus-run-session python3; do
  command -v "$tool" > /dev/null || { echo "$tool is missing"; exit 1; }
done
if [ ! -x "$build/bin/nelo" ] || [ ! -x "$build/bin/nelo-cli" ] || [ ! -x "$build/bin/hello_two_pane" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_BENCH=ON -DNELO_BUILD_TESTS=OFF > /dev/null
  cmake --build "$build" -j2 --target nelo nelo-cli hello_two_pane
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime TZ=UTC0
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# 10,000 entries from tomorrow on (24 a day, 08:00-19:00), and one tonight for the
# start-up summary.
{
  echo "今日２３時 残業"
  for ((i = 0; i < 10000; i++)); do echo "$((1 + i / 24))日後$((8 + i % 12))時 打合せ$i"; done
  echo '\save '"$work/big.nel"
} > "$work/lines.txt"
NELO_NOW="2026-12-08 09:00:00" "$build/bin/nelo-cli" --new < "$work/lines.txt" > /dev/null 2>&1
[ -s "$work/big.nel" ] || { echo "the notebook was not written"; exit 1; }

cat > "$work/inner.sh" << INNER
set -u
measure() {  # measure NAME COMMAND...: prints "NAME wakeups/min cpu-ms/min"
  local name=\$1; shift
  "\$@" > "$work/\$name.log" 2>&1 &
  local pid=\$!
  sleep $settle
  python3 - "\$pid" "$seconds" "\$name" << 'PY'
import glob, os, sys, time
pid, seconds, name = int(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
def switches():  # context switches of each thread
    out = {}
    for status in glob.glob(f"/proc/{pid}/task/*/status"):
        try:
            n = 0
            for line in open(status):
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    n += int(line.split()[1])
            out[status.split("/")[4]] = n
        except (FileNotFoundError, ProcessLookupError):
            pass
    return out
def cpu_ticks():
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])
# Sampled every second, so that a thread that ends in between still counts up to its
# last sample, and one that starts counts from its birth.
prev, t0, total = switches(), cpu_ticks(), 0
end = time.monotonic() + seconds
while time.monotonic() < end:
    time.sleep(1)
    cur = switches()
    total += sum(n - prev.get(tid, 0) for tid, n in cur.items())
    prev = {**prev, **cur}
per_min = 60.0 / seconds
print(f"{name} {total * per_min:.1f} {(cpu_ticks() - t0) * 1000.0 / os.sysconf('SC_CLK_TCK') * per_min:.1f}")
PY
  kill \$pid 2> /dev/null
  wait \$pid 2> /dev/null
}
export QT_QPA_PLATFORM=xcb NELO_NOW="2026-12-08 09:00:00" NELO_CLOCK=running
measure nelo-10000 "$build/bin/nelo" --minimized "$work/big.nel"
measure nelo-empty "$build/bin/nelo" --minimized --new
measure hello-two-pane "$build/bin/hello_two_pane"
INNER
printf '%-16s %14s %14s\n' program "wake-ups/min" "CPU ms/min"
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash "$work/inner.sh" 2> /dev/null |
  while read -r name wakeups cpu; do printf '%-16s %14s %14s\n' "$name" "$wakeups" "$cpu"; done
