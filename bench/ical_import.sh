#!/usr/bin/env bash
# The calendar import against its target and against the import it replaced, on the
# same generated files in one run.
#   bench/ical_import.sh [BUILD_DIR] [BASE_COMMIT]
# BUILD_DIR holds a Release build (default build-bench; nelo-cli is built when missing).
# BASE_COMMIT, when given, is the commit whose import is compared: its sources are
# unpacked into a temporary folder with `git archive` and its nelo-cli built there.
# Every timing is the median of hyperfine runs (RUNS, default 5) of
# `nelo-cli --new` reading one `\ical-read` line; the CPU column is the mean user +
# system time of the same runs.
# Rows:
#   100,000 events at as many times          target < 5 s
#   20,000 events at one time (each conflicts with all before it)
#   20,000 events at as many times            (the old import's largest file; it refuses
#                                             the 100,000, and runs the one-time file once)
#   the file Nelo writes for 200,000 entries  its size, and that it is read back whole
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build-bench}
base=${2:-}
runs=${RUNS:-5}

for tool in hyperfine python3 /usr/bin/time; do
  command -v "$tool" > /dev/null || { echo "$tool is missing: run scripts/install-deps.sh bench" >&2; exit 1; }
done
if [ ! -x "$build/bin/nelo-cli" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_BENCH=ON -DNELO_BUILD_TESTS=OFF > /dev/null
  cmake --build "$build" -j2 --target nelo-cli
fi
cli=$build/bin/nelo-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/xdg XDG_STATE_HOME=$work/state
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME"
export NELO_NOW="2024-03-01 09:00:00" TZ=Asia/Tokyo LC_ALL=C.UTF-8

old=
if [ -n "$base" ]; then
  echo "building the import of $base ..." >&2
  mkdir -p "$work/base"
  git -C "$root" archive "$base" | tar -x -C "$work/base"
  cmake -S "$work/base" -B "$work/base/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_TESTS=OFF \
    -DNELO_BUILD_DESKTOP=OFF > /dev/null
  cmake --build "$work/base/build" -j2 --target nelo-cli > /dev/null
  old=$work/base/build/bin/nelo-cli
fi

echo "generating inputs in $work ..." >&2
python3 - "$work" << 'EOF'
import datetime, sys
work = sys.argv[1]

def calendar(path, n, same_time):
    start = datetime.datetime(2024, 3, 2, 9, 0)
    with open(path, "w", newline="") as f:
        f.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n")
        for i in range(n):
            s = start if same_time else start + datetime.timedelta(minutes=5 * i)
            e = s + datetime.timedelta(minutes=30)
            f.write("BEGIN:VEVENT\r\nUID:ev%d@bench\r\nDTSTAMP:20240301T000000Z\r\n" % i)
            f.write("DTSTART;TZID=Asia/Tokyo:%s\r\n" % s.strftime("%Y%m%dT%H%M%S"))
            f.write("DTEND;TZID=Asia/Tokyo:%s\r\n" % e.strftime("%Y%m%dT%H%M%S"))
            f.write("SUMMARY:営業会議 %d\r\nLOCATION:本社 第三会議室\r\nEND:VEVENT\r\n" % i)
        f.write("END:VCALENDAR\r\n")

calendar(f"{work}/spread100k.ics", 100000, False)
calendar(f"{work}/spread20k.ics", 20000, False)
calendar(f"{work}/same20k.ics", 20000, True)

# 200,000 typed entries, for the file the export writes.
with open(f"{work}/entries200k.txt", "w") as f:
    for i in range(200000):
        day = datetime.date(2024, 3, 2) + datetime.timedelta(days=i % 360)
        f.write("%d年%d月%d日%d時%d分 打合せ%d\n" % (day.year, day.month, day.day, 9 + i % 9, i % 60, i))
EOF
for f in spread100k spread20k same20k; do printf '\\ical-read %s/%s.ics\n' "$work" "$f" > "$work/$f.in"; done

# time_import CLI NAME [RUNS]: the median wall-clock and CPU seconds of the import, "wall cpu".
time_import() {
  hyperfine --runs "${3:-$runs}" --style none --export-json "$work/h.json" \
    "$1 --new < $work/$2.in > $work/out.txt 2>&1" > /dev/null 2>&1
  python3 - "$work/h.json" << 'EOF'
import json, statistics, sys
r = json.load(open(sys.argv[1]))["results"][0]
print("%.3f %.3f" % (statistics.median(r["times"]), r["user"] + r["system"]))
EOF
}

row() {  # label, nelo "wall cpu", old "wall cpu" or "-", target
  local label=$1 new=$2 was=$3 target=$4
  printf '%-46s %18s %18s   %s\n' "$label" "$new" "$was" "$target"
}

echo
printf '%-46s %18s %18s   %s\n' "import of (seconds; $runs runs)" "Nelo wall / CPU" "before wall / CPU" "target"
status=0
for f in spread100k same20k spread20k; do
  new=$(time_import "$cli" "$f")
  head -n 4 "$work/out.txt" | tail -n 1 | grep -q "件読み込みました" || { echo "$f: not read:"; cat "$work/out.txt"; status=1; }
  was=-
  # The old import of 20,000 events at one time takes minutes: it runs once.
  if [ -n "$old" ]; then
    was=$(time_import "$old" "$f" "$([ "$f" = same20k ] && echo 1 || echo "$runs")")
    grep -q "予定が多すぎます" "$work/out.txt" && was="refused"
  fi
  case $f in
    spread100k) label="100,000 events at as many times"; target="< 5 s"
      awk -v w="${new% *}" 'BEGIN { exit !(w < 5) }' || status=1 ;;
    same20k) label="20,000 events at one time"; target="-" ;;
    spread20k) label="20,000 events at as many times"; target="-" ;;
  esac
  row "$label" "$new" "$was" "$target"
done

# The export of 200,000 entries: its size, and its import (the limit takes it).
{ echo "\\read $work/entries200k.txt"; echo "\\ical $work/all.ics --force"; } > "$work/export.in"
"$cli" --new < "$work/export.in" > /dev/null 2>&1
size=$(stat -c %s "$work/all.ics")
printf '\\ical-read %s/all.ics\n' "$work" > "$work/all.in"
/usr/bin/time -f "%e %M" -o "$work/time.txt" "$cli" --new < "$work/all.in" > "$work/out.txt" 2>&1
grep -q "予定を 200000 件読み込みました" "$work/out.txt" || { echo "the export of 200,000 entries was not read back whole:"; tail -n 3 "$work/out.txt"; status=1; }
read -r secs kib < "$work/time.txt"
echo
echo "the export of 200,000 entries: $(awk -v s="$size" 'BEGIN { printf "%.1f MB", s / 1048576 }'),"\
  "read back in ${secs} s with a peak of $((kib / 1024)) MiB"
exit $status
