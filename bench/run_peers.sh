#!/usr/bin/env bash
# Nelo against its peers and floors, all on the same generated inputs in one run.
#   bench/run_peers.sh [BUILD_DIR] [BASE_COMMIT ...]
# BUILD_DIR holds a Release build with the benchmarks (default build-bench, as made by
# `make bench`); it is configured and built when nelo-cli or a floor program is missing.
# Each BASE_COMMIT (any name git knows) is an earlier state to compare with: its sources
# are unpacked with `git archive` into BUILD_DIR/base-HASH and its nelo-cli built there
# as a Release build with the same compiler (kept for the next run, since a build takes
# minutes on a small machine; delete the folder to build it again).
#
# The cost of a typed line (bench/line_costs.py): arithmetic against `bc -l`, weekday
# questions against `date -f`, and the per-line cost of each interpreter (arithmetic,
# weekday questions, schedule registration, period queries, memo registration, fixed
# words), for nelo-cli and each base, in interleaved rounds (ROUNDS, default 10, medians
# of wall clock and of CPU time), with the instructions per line counted by callgrind
# when valgrind is installed (NO_CALLGRIND=1 skips them).
# The other rows (LINES_ONLY=1 skips them): the median of hyperfine runs (RUNS, default
# 10, at least that many) for start-up, loading, saving and long inputs; peak memory from
# /usr/bin/time -f %M. One line per target with Nelo's figure, the peer's, their ratio
# (wall clock), the same ratio in CPU time and the target.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(realpath -m "${1:-$root/build-bench}")
[ $# -gt 0 ] && shift
bases=("$@")
runs=${RUNS:-10}

for tool in hyperfine bc python3 /usr/bin/time; do
  command -v "$tool" > /dev/null || { echo "$tool is missing: run scripts/install-deps.sh bench" >&2; exit 1; }
done
if [ ! -x "$build/bin/nelo-cli" ] || [ ! -x "$build/bin/hello_floor" ] || [ ! -x "$build/bin/memo_load_floor" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_BENCH=ON -DNELO_BUILD_TESTS=OFF > /dev/null
  cmake --build "$build" -j2 --target nelo-cli hello_floor memo_load_floor
fi
cli=$build/bin/nelo-cli
hello=$build/bin/hello_floor
floor=$build/bin/memo_load_floor

# base_cli COMMIT: builds COMMIT's nelo-cli (once) and prints its path.
base_cli() {
  local hash dir cxx cc
  hash=$(git -C "$root" rev-parse --verify "$1^{commit}") || { echo "unknown commit: $1" >&2; return 1; }
  dir=$build/base-$hash
  if [ ! -x "$dir/build/bin/nelo-cli" ]; then
    echo "building nelo-cli of $1 ($hash) in $dir ..." >&2
    rm -rf "$dir"
    mkdir -p "$dir"
    git -C "$root" archive "$hash" | tar -x -C "$dir"
    cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
    cc=$(sed -n 's/^CMAKE_C_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
    # The folder layout (sources, then build/ inside them) matches BUILD_DIR's beside the
    # sources, so ccache with a base directory finds the files that did not change.
    cmake -S "$dir" -B "$dir/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_TESTS=OFF \
      -DNELO_BUILD_DESKTOP=OFF ${cxx:+-DCMAKE_CXX_COMPILER="$cxx"} ${cc:+-DCMAKE_C_COMPILER="$cc"} > /dev/null 2>&1
    cmake --build "$dir/build" -j2 --target nelo-cli > "$dir/build.log" 2>&1 ||
      { echo "the build of $1 failed: $dir/build.log" >&2; return 1; }
  fi
  echo "$dir/build/bin/nelo-cli"
}
base_args=()
for b in "${bases[@]}"; do
  base_args+=(--base "$b=$(base_cli "$b")")
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Nothing of the real profile is read or written: settings, recovery copies, locks.
export XDG_CONFIG_HOME=$work/xdg XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export NELO_NOW="2003-06-01 10:00:00" TZ=UTC0 LC_ALL=C.UTF-8

# ---------------------------------------------------------------- the cost of a line
python3 "$here/line_costs.py" --cli "$cli" "${base_args[@]}" --work "$work/lines" --rounds "${ROUNDS:-10}" \
  ${NO_CALLGRIND:+--no-callgrind}
rm -rf "$work/lines"
[ "${LINES_ONLY:-}" = 1 ] && exit 0

# ---------------------------------------------------------------- inputs
echo "generating inputs in $work ..." >&2
# Arithmetic: the same expressions as bench/calc_vs_bc.sh.
awk -v n=200000 -f "$(dirname "$0")/gen_expressions.awk" > "$work/arith200k.txt"
head -n 20000 "$work/arith200k.txt" > "$work/arith20k.txt"

python3 - "$work" << 'EOF'
import sys
work = sys.argv[1]

# Lines with a fixed answer.
with open(f"{work}/weather.txt", "w") as f:
    f.write("天気\n" * 1000000)
with open(f"{work}/example.txt", "w") as f:
    f.write("例\n" * 1000000)

# Memo records: OBJECTS objects with 10 pairs each, typed as "object、name、value".
def memos(path, objects):
    with open(path, "w") as f:
        for i in range(objects):
            for k in range(10):
                f.write(f"氏名{i}、項目{k}、03-1234-{i}\n")
memos(f"{work}/memo1m.txt", 100000)
memos(f"{work}/memo100k.txt", 10000)
memos(f"{work}/memo10k.txt", 1000)

# Schedules in a scrambled order, each followed by nothing; the listing comes after.
def schedules(path, n):
    with open(path, "w") as f:
        for k in range(n):
            i = (k * 7919) % n
            day = 2 + i % 3000
            hour = 8 + (i // 3000) % 12
            minute = 20 * ((i // 36000) % 3)
            import datetime
            t = datetime.date(2003, 6, 1) + datetime.timedelta(days=day - 1)
            f.write(f"{t.year}年{t.month}月{t.day}日{hour}:{minute:02d} {hour + 1}:{minute:02d} 会議{i}\n")
schedules(f"{work}/sched10k.txt", 10000)
schedules(f"{work}/sched100k.txt", 100000)
EOF
for n in 10k 100k; do
  printf '\\read %s\n予定\n' "$work/sched$n.txt" > "$work/sched$n.in"
done

# Notebooks: saved by nelo-cli itself from the memo records.
for n in 1m 100k 10k; do
  { cat "$work/memo$n.txt"; printf '\\save %s\n' "$work/memo$n.nel"; } | "$cli" --new > /dev/null 2>&1
done
printf '\\save %s\n' "$work/empty.nel" | "$cli" --new > /dev/null 2>&1
# Saving in place: the notebook (a copy) is opened and saved under its own name, so the
# list of recent files stays as it is and only the notebook is written.
cp "$work/memo1m.nel" "$work/copy1m.nel"
printf '\\save\n' > "$work/save.in"
for f in memo1m memo100k memo10k empty; do
  [ -s "$work/$f.nel" ] || { echo "could not create $f.nel" >&2; exit 1; }
done

# ---------------------------------------------------------------- timing helpers
# hf NAME COMMAND [NAME COMMAND ...]: runs hyperfine once over all of them, sets
# median[NAME] (wall clock) and cpu[NAME] (mean user + system time) in seconds. HF_SHELL=none runs the commands without a shell (stdin and
# stdout are then /dev/null), which times short programs more exactly.
declare -A median cpu
hf() {
  local args=() names=()
  while [ $# -gt 0 ]; do
    names+=("$1")
    args+=(-n "$1" "$2")
    shift 2
  done
  local shell=()
  [ "${HF_SHELL:-}" = none ] && shell=(-N)
  hyperfine "${shell[@]}" --style basic --min-runs "$runs" --warmup 1 --export-json "$work/t.json" "${args[@]}" >&2
  local i=0
  for n in "${names[@]}"; do
    median[$n]=$(python3 -c "import json;print(json.load(open('$work/t.json'))['results'][$i]['median'])")
    cpu[$n]=$(python3 -c "import json;r=json.load(open('$work/t.json'))['results'][$i];print(r['user']+r['system'])")
    i=$((i + 1))
  done
}
# peak NAME COMMAND: peak resident memory in KiB.
declare -A peakkb
peak() {
  /usr/bin/time -o "$work/peak" -f %M bash -c "$2" > /dev/null 2>&1
  peakkb[$1]=$(tail -n 1 "$work/peak")
}
calc() { python3 -c "print($1)"; }
results=()
row() {  # row TARGET WHAT NELO PEER RATIO CPU_RATIO GOAL
  results+=("$(printf '%-3s %-52s %-14s %-20s %-7s %-7s %s' "$@")")
}
ratio() { printf %.2f "$(calc "$1")"; }

# ---------------------------------------------------------------- 2: arithmetic, long and short
# (Rows 1 and 3, against bc and date, are the interleaved runs above.) Three times the
# runs here: the 20,000-line run is short.
runs=$((runs * 3)) hf nelo200k "$cli --new < $work/arith200k.txt > /dev/null" \
   nelo20k "$cli --new < $work/arith20k.txt > /dev/null"
r2=$(calc "(200000 / ${median[nelo200k]}) / (20000 / ${median[nelo20k]})")
row 2 "arithmetic, rate over 200,000 / rate over 20,000" "$(calc "round(200000 / ${median[nelo200k]})")" \
  "20k: $(calc "round(20000 / ${median[nelo20k]})")" "$(printf %.2f "$r2")" \
  "$(ratio "(200000 / ${cpu[nelo200k]}) / (20000 / ${cpu[nelo20k]})")" ">= 0.9"

# ---------------------------------------------------------------- 4: fixed answers
hf weather "$cli --new < $work/weather.txt > /dev/null" \
   example "$cli --new < $work/example.txt > /dev/null"
row 4 "「天気」, 1,000,000 lines (lines/s)" "$(calc "round(1000000 / ${median[weather]})")" "-" \
  "$(printf %.2f "$(calc "1000000 / ${median[weather]} / 1e6")")" "$(ratio "1 / ${cpu[weather]}")" \
  ">= 1 (million/s)"
row 4 "「例」, 1,000,000 lines (lines/s)" "$(calc "round(1000000 / ${median[example]})")" "-" \
  "$(printf %.2f "$(calc "1000000 / ${median[example]} / 1e6")")" "$(ratio "1 / ${cpu[example]}")" \
  ">= 1 (million/s)"

# ---------------------------------------------------------------- 5: loading and saving
hf load1m "$cli $work/memo1m.nel < /dev/null > /dev/null" \
   floor1m "$floor $work/memo1m.txt > /dev/null" \
   load100k "$cli $work/memo100k.nel < /dev/null > /dev/null" \
   opencopy "$cli $work/copy1m.nel < /dev/null > /dev/null" \
   savecopy "$cli $work/copy1m.nel < $work/save.in > /dev/null 2>&1" \
   write1m "dd if=$work/memo1m.nel of=$work/written.nel bs=1M conv=fsync status=none"
peak load1m "$cli $work/memo1m.nel < /dev/null"
peak floor1m "$floor $work/memo1m.txt"
cmp -s "$work/memo1m.nel" "$work/copy1m.nel" || echo "warning: the re-saved notebook differs" >&2
r5=$(calc "${median[load1m]} / ${median[floor1m]}")
row 5 "load 1,000,000 memos (s)" "$(printf %.3f "${median[load1m]}")" \
  "floor $(printf %.3f "${median[floor1m]}")" "$(printf %.2f "$r5")" \
  "$(ratio "${cpu[load1m]} / ${cpu[floor1m]}")" "<= 1.5"
row 5 "load 1,000,000 memos, peak memory (MiB)" "$(calc "round(${peakkb[load1m]} / 1024)")" \
  "floor $(calc "round(${peakkb[floor1m]} / 1024)")" \
  "$(printf %.2f "$(calc "${peakkb[load1m]} / ${peakkb[floor1m]}")")" "-" "<= 1.5"
row 5 "load 1,000,000 / load 100,000 memos (s)" "$(printf %.3f "${median[load1m]}")" \
  "100k $(printf %.3f "${median[load100k]}")" "$(printf %.2f "$(calc "${median[load1m]} / ${median[load100k]}")")" \
  "$(ratio "${cpu[load1m]} / ${cpu[load100k]}")" "<= 11"
save=$(calc "max(${median[savecopy]} - ${median[opencopy]}, 0)")
row 5 "save 1,000,000 memos (open+save - open, s)" "$(printf %.3f "$save")" \
  "dd+fsync $(printf %.3f "${median[write1m]}")" "$(printf %.2f "$(calc "$save / ${median[write1m]}")")" "-" "<= 2"

# ---------------------------------------------------------------- 6: start-up
HF_SHELL=none hf hello "$hello" \
   startnew "$cli --new" \
   startempty "$cli $work/empty.nel" \
   start10k "$cli $work/memo10k.nel"
row 6 "start-up, --new (ms)" "$(printf %.2f "$(calc "${median[startnew]} * 1000")")" \
  "hello $(printf %.2f "$(calc "${median[hello]} * 1000")")" \
  "$(printf %.2f "$(calc "${median[startnew]} / ${median[hello]}")")" "$(ratio "${cpu[startnew]} / ${cpu[hello]}")" "<= 3"
row 6 "start-up, 10,000-memo notebook vs empty one (ms)" "$(printf %.2f "$(calc "${median[start10k]} * 1000")")" \
  "empty $(printf %.2f "$(calc "${median[startempty]} * 1000")")" \
  "$(printf %.2f "$(calc "${median[start10k]} / ${median[startempty]}")")" \
  "$(ratio "${cpu[start10k]} / ${cpu[startempty]}")" "<= 2"

# ---------------------------------------------------------------- 7: schedules
hf sched10k "$cli --new < $work/sched10k.in > /dev/null 2>&1" \
   sched100k "$cli --new < $work/sched100k.in > /dev/null 2>&1"
row 7 "\\read 100,000 schedules + 予定, vs 10,000 (s)" "$(printf %.3f "${median[sched100k]}")" \
  "10k $(printf %.3f "${median[sched10k]}")" \
  "$(printf %.2f "$(calc "${median[sched100k]} / ${median[sched10k]}")")" \
  "$(ratio "${cpu[sched100k]} / ${cpu[sched10k]}")" "n log n: ~12.5 (quadratic: 100)"

# ---------------------------------------------------------------- summary
echo
printf '%-3s %-52s %-14s %-20s %-7s %-7s %s\n' "#" "what" "Nelo" "peer" "ratio" "cpu" "target"
echo "(ratio: from wall-clock medians; cpu: the same ratio from user + system time, which a busy machine disturbs less)"
printf '%s\n' "${results[@]}"
