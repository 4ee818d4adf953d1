#!/usr/bin/env bash
# Runs one golden transcript through nelo-cli and compares stdout byte for byte.
#   run_golden.sh NELO_CLI CASE.in
# Lines of CASE.in that start with "#!" set up the run instead of being typed:
#   #! NELO_NOW=2003-06-01 10:00:00     the frozen clock (default 2003-06-01 10:00:00)
#   #! TZ=Asia/Tokyo                    the time zone (default UTC0)
#   #! args: --new                      arguments for nelo-cli (default --new)
#   #! stderr                           also compare stderr with CASE.err
#   #! status: N                        the exit status expected (default 0)
#   #! copy: FILE                       copy FILE (beside CASE.in) into the run folder first
#   #! sh: COMMAND                      run COMMAND in the run folder after the copies (links,
#                                       permissions)
#   #! compare: FILE EXPECTED           after the run, FILE in the run folder must equal
#                                       EXPECTED (beside CASE.in) byte for byte
#   #! unchanged: FILE                  FILE (relative to the run folder; ../xdg is the
#                                       profile's folder) has the same bytes and
#                                       modification time after the run, or is still absent
# Every run gets a fresh, empty XDG_CONFIG_HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR and
# runs in a fresh folder.
set -u
cli=$1
case_in=$2
case_out=${case_in%.in}.out
case_err=${case_in%.in}.err

now="2003-06-01 10:00:00"
tz="UTC0"
args="--new"
check_err=0
expected_status=0
copies=()
setups=()
compares=()
unchanged=()
while IFS= read -r line; do
  case "$line" in
    "#! NELO_NOW="*) now=${line#\#! NELO_NOW=} ;;
    "#! TZ="*) tz=${line#\#! TZ=} ;;
    "#! args:"*) args=${line#\#! args:} ;;
    "#! stderr") check_err=1 ;;
    "#! status: "*) expected_status=${line#\#! status: } ;;
    "#! copy: "*) copies+=("${line#\#! copy: }") ;;
    "#! sh: "*) setups+=("${line#\#! sh: }") ;;
    "#! compare: "*) compares+=("${line#\#! compare: }") ;;
    "#! unchanged: "*) unchanged+=("${line#\#! unchanged: }") ;;
  esac
done < "$case_in"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/xdg" "$work/state" "$work/run" "$work/runtime"
grep -v '^#!' "$case_in" > "$work/input"
case_dir=$(cd "$(dirname "$case_in")" && pwd)
for f in ${copies[@]+"${copies[@]}"}; do
  cp "$case_dir/$f" "$work/run/" || { echo "cannot copy $f"; exit 1; }
done
for c in ${setups[@]+"${setups[@]}"}; do
  (cd "$work/run" && bash -c "$c") || { echo "set-up failed: $c"; exit 1; }
done
# The bytes and modification time of a file in the run folder, or "absent".
file_state() {
  if [ -e "$work/run/$1" ]; then
    echo "$(sha256sum < "$work/run/$1") $(stat -c %y "$work/run/$1")"
  else
    echo absent
  fi
}
before=()
for f in ${unchanged[@]+"${unchanged[@]}"}; do
  before+=("$(file_state "$f")")
done
(cd "$work/run" && CASE_DIR="$case_dir" NELO_NOW="$now" TZ="$tz" XDG_CONFIG_HOME="$work/xdg" \
  XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime" "$cli" $args < "$work/input" > "$work/stdout" 2> "$work/stderr")
status=$?
if [ $status -ne "$expected_status" ]; then
  echo "nelo-cli exited with $status, not $expected_status"; cat "$work/stderr"; exit 1
fi
# NELO_GOLDEN_UPDATE=1 writes what was produced as the expected transcript (read the
# diff before committing it).
if [ "${NELO_GOLDEN_UPDATE:-0}" = 1 ]; then
  cp "$work/stdout" "$case_out"
  [ $check_err -eq 1 ] && cp "$work/stderr" "$case_err"
fi
if ! cmp -s "$work/stdout" "$case_out"; then
  echo "stdout differs from $case_out:"
  diff "$case_out" "$work/stdout" | head -40
  exit 1
fi
if [ $check_err -eq 1 ] && ! cmp -s "$work/stderr" "$case_err"; then
  echo "stderr differs from $case_err:"
  diff "$case_err" "$work/stderr" | head -40
  exit 1
fi
for c in ${compares[@]+"${compares[@]}"}; do
  produced=${c% *}
  expected=${c##* }
  if ! cmp -s "$work/run/$produced" "$case_dir/$expected"; then
    echo "$produced differs from $expected"
    exit 1
  fi
done
for i in ${unchanged[@]+"${!unchanged[@]}"}; do
  if [ "$(file_state "${unchanged[$i]}")" != "${before[$i]}" ]; then
    echo "${unchanged[$i]} changed: ${before[$i]} -> $(file_state "${unchanged[$i]}")"
    exit 1
  fi
done
exit 0
