#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source file of src/ in the
# compilation database of BUILD_DIR (make tidy prepares it), JOBS files at a time.
# Prints each finding once (a header read by many files is reported by each of them),
# sorted by file and line, and fails when there is any.
#   tidy.sh BUILD_DIR [FILE_REGEX]   FILE_REGEX narrows the files (an extended regex)
set -euo pipefail
build=${1:?usage: tidy.sh BUILD_DIR [FILE_REGEX]}
only=${2:-.}
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-2}
tidy=${CLANG_TIDY:-clang-tidy-14}
db=$build/compile_commands.json
[[ -f $db ]] || { echo "tidy: no $db (make tidy makes it)" >&2; exit 2; }

# CMake writes one "file" line per entry; generated files (moc, resources) lie in the
# build folder, not under src/.
mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$db" | grep "^$root/src/" | grep -E -- "$only" | sort -u)
[[ ${#files[@]} -gt 0 ]] || { echo "tidy: no source file of src/ in $db" >&2; exit 2; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0
printf '%s\n' "${files[@]}" |
    xargs -P "$jobs" -I{} sh -c '"$1" -p "$2" --quiet --header-filter="^$3/src/" --warnings-as-errors="*" "$4" \
        >"$5/$(echo "$4" | tr / _).log" 2>&1' _ "$tidy" "$build" "$root" {} "$out" || status=$?

# A finding starts with "path:line:column: warning|error:"; its source lines and notes
# follow. Each becomes one record, keyed by its first line, to drop the repeats; the
# counts clang-tidy prints per file are left out, anything else it says is kept.
awk -v sep=$'\x1f' '
    function flush() { if (rec != "" && !seen[head]++) print rec; rec = head = "" }
    FNR == 1 { flush() }
    /^[0-9]+ warnings? (generated|treated as errors)\.$|^Error while processing |^Suppressed [0-9]+ warnings|^Use -header-filter|^$/ { next }
    /^[^ ]+:[0-9]+:[0-9]+: (warning|error): / { flush(); rec = head = $0; next }
    { rec = (rec == "") ? $0 : rec sep $0; if (head == "") head = FILENAME }
    END { flush() }' "$out"/*.log |
    sort -t: -k1,1 -k2,2n -k3,3n -k4 |
    tr '\037' '\n' >"$out/all"
findings=$(grep -cE '^[^ ]+:[0-9]+:[0-9]+: (warning|error): ' "$out/all" || true)
cat "$out/all"
if [[ $findings -gt 0 || $status -ne 0 ]]; then
    echo "tidy: $findings findings (${#files[@]} files checked)" >&2
    exit 1
fi
echo "tidy: ${#files[@]} files, no findings"
