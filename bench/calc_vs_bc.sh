#!/usr/bin/env bash
# Arithmetic throughput of nelo-cli against bc -l on the same random expressions.
#   bench/calc_vs_bc.sh [NELO_CLI] [COUNT]
# NELO_CLI defaults to build/bin/nelo-cli, COUNT to 200000. The expressions are plain
# ASCII such as 12.5*(3-4.25)/7+100 (no divisor is zero, so bc runs through). Uses
# hyperfine when it is installed, otherwise times one run of each with bash's time.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/bin/nelo-cli}
count=${2:-200000}
if [ ! -x "$cli" ]; then
  echo "nelo-cli not found at $cli" >&2
  exit 1
fi
command -v bc > /dev/null || { echo "bc is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/xdg
mkdir -p "$XDG_CONFIG_HOME"

# Deterministic expressions: awk's rand with a fixed seed.
awk -v n="$count" -f "$(dirname "$0")/gen_expressions.awk" > "$work/lines.txt"

nelo_cmd="$cli --new < $work/lines.txt > /dev/null"
bc_cmd="bc -l < $work/lines.txt > /dev/null"

if command -v hyperfine > /dev/null; then
  hyperfine --warmup 1 --export-json "$work/times.json" -n nelo-cli "$nelo_cmd" -n bc "$bc_cmd"
  nelo_s=$(python3 -c "import json;print(json.load(open('$work/times.json'))['results'][0]['mean'])")
  bc_s=$(python3 -c "import json;print(json.load(open('$work/times.json'))['results'][1]['mean'])")
else
  echo "hyperfine not installed: one timed run of each (bash time, wall clock)"
  TIMEFORMAT=%R
  nelo_s=$( { time bash -c "$nelo_cmd" ; } 2>&1 )
  bc_s=$( { time bash -c "$bc_cmd" ; } 2>&1 )
fi

printf 'lines:            %d\n' "$count"
printf 'nelo-cli:         %.0f lines/s (%.3f s)\n' "$(echo "$count / $nelo_s" | bc -l)" "$nelo_s"
printf 'bc -l:            %.0f lines/s (%.3f s)\n' "$(echo "$count / $bc_s" | bc -l)" "$bc_s"
printf 'nelo-cli / bc:    %.2f\n' "$(echo "$bc_s / $nelo_s" | bc -l)"
