#!/usr/bin/env bash
# The help page tells the truth: every example it shows (each cell of class "ex"), typed
# in the page's order into a new notebook, gets an answer, not a refusal.
#   check_help_examples.sh NELO_CLI HELP.html
set -euo pipefail
cli=$1
page=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state LC_ALL=C.UTF-8
export NELO_NOW="2026-12-08 09:00:00"

# One example per cell; the page writes them as plain text.
grep -o '<td class="ex">[^<]*</td>' "$page" | sed -e 's/<td class="ex">//' -e 's/<\/td>//' \
    -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&amp;/\&/g' >"$work/examples"
count=$(wc -l <"$work/examples")
[ "$count" -ge 20 ] || { echo "only $count examples found in $page"; exit 1; }

"$cli" --new <"$work/examples" >"$work/out" 2>"$work/err" || true
# Each echo (花子 >> …) is followed by the answer (太郎 >> …) of its line.
refusals='^太郎 >> (わかりません。|計算できません。|日付の指定が違います。|時間の指定が違います。|用件がありません。|日付がありません。|メモの項目が足りません。|時期が不正です。|.*時期が適切でありません。|.*は計算できません。|.*読めません|.*わかりません|.*決まりません|.*日付でも期間でもありません|.*登録できません)'
bad=$(awk -v re="$refusals" '
    /^花子 >> / { line = $0; next }
    /^太郎 >> / { if ($0 ~ re) print line "  →  " $0; next }' "$work/out")
answered=$(grep -c '^太郎 >> ' "$work/out" || true)
if [ -n "$bad" ]; then
    echo "examples of the help page that are refused:"
    echo "$bad"
    exit 1
fi
[ "$answered" -eq "$count" ] || { cat "$work/out"; echo "$count examples, $answered answers"; exit 1; }
echo "help page: all $count examples answered"
