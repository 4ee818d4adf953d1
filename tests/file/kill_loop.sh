#!/usr/bin/env bash
# Kills nelo-cli with SIGKILL at random moments while it saves a large notebook over
# another one, COUNT times for each layout of the file: a single name (replaced by a
# rename), a second hard link and, as root, another user's file (both written in place).
# The moment is a random number of bytes written by the process (its wchar), so that the
# kills fall into the save rather than into the loading before it; a fifth of them fall
# after the last byte, while the file is synced and renamed.
# After every kill nothing may be lost: the notebook opens with its old or its new
# content, or, caught halfway in place, it does not open and the copy of its old content
# beside it (NAME.bakXXXXXX) opens with the old content. The next save of the notebook
# must then leave no temporary file and no copy behind.
#   kill_loop.sh NELO_CLI [COUNT]        (COUNT kills per layout, default 20)
set -u
cli=$1
count=${2:-20}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -m 777 "$work/run"
cd "$work/run" || exit 1
export NELO_NOW="2003-06-01 10:00:00" TZ=UTC0 XDG_CONFIG_HOME="$work/xdg" XDG_STATE_HOME="$work/state"
mkdir -m 777 "$work/xdg" "$work/state"

# The two contents: 13 MB before, 8 MB after, so that a save takes many writes.
awk 'BEGIN { for (i = 0; i < 200000; i++) printf "物%d、値、%s\n", i, "vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv"; print "\\save old.nel" }' \
  | "$cli" --new > /dev/null 2>&1 || { echo "cannot make the old notebook"; exit 1; }
awk 'BEGIN { for (i = 0; i < 150000; i++) printf "新%d、値、%s\n", i, "wwwwwwwwwwwwwwwwwwwwwwwwwwwwww"; print "\\save new.nel" }' \
  | "$cli" --new > /dev/null 2>&1 || { echo "cannot make the new notebook"; exit 1; }
chmod 644 old.nel new.nel
printf '\\save --force big.nel\n' > save-over

as_user=()
layouts="single linked"
if [ "$(id -u)" -eq 0 ] && command -v setpriv > /dev/null; then
  layouts="$layouts other-user"
fi

# big.nel with the old content, laid out as named.
reset_notebook() {
  rm -f big.nel twin.nel big.nel.tmp* big.nel.bak*
  cp old.nel big.nel
  case $1 in
    linked) ln big.nel twin.nel ;;
    other-user) chmod 666 big.nel ;;
  esac
}

# The bytes the process pid has written so far (0 once it has ended).
written() {
  local key value
  {
    while read -r key value; do
      if [ "$key" = "wchar:" ]; then echo "$value"; return; fi
    done < "/proc/$1/io"
  } 2> /dev/null
  echo 0
}

# The content of a file: old, new, or other.
content_of() {
  if cmp -s "$1" old.nel; then echo old; elif cmp -s "$1" new.nel; then echo new; else echo other; fi
}

failed=0
for layout in $layouts; do
  as_user=()
  [ "$layout" = other-user ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  # How many bytes a whole run writes and how long it takes.
  reset_notebook "$layout"
  start=$(date +%s%N)
  "${as_user[@]}" "$cli" new.nel < save-over > /dev/null 2>&1 &
  pid=$!
  total=0
  while kill -0 "$pid" 2> /dev/null; do
    w=$(written "$pid")
    [ "$w" -gt "$total" ] && total=$w
  done
  wait "$pid" 2> /dev/null
  full_us=$(( ($(date +%s%N) - start) / 1000 ))
  [ "$(content_of big.nel)" = new ] || { echo "$layout: the save without a kill did not write the new content"; exit 1; }

  n_old=0 n_new=0 n_offered=0 n_finished=0 n_lost=0 n_temps=0 n_left=0
  for ((i = 0; i < count; i++)); do
    reset_notebook "$layout"
    target=$(( (RANDOM * 32768 + RANDOM) % (total + total / 4 + 1) ))
    "${as_user[@]}" "$cli" new.nel < save-over > /dev/null 2>&1 &
    pid=$!
    while kill -0 "$pid" 2> /dev/null && [ "$(written "$pid")" -lt "$target" ]; do :; done
    if [ "$target" -ge "$total" ]; then
      # After the last byte: somewhere in the syncs and the rename.
      delay_us=$(( (RANDOM * 32768 + RANDOM) % (full_us / 4 + 1) ))
      sleep "$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))"
    fi
    kill -9 "$pid" 2> /dev/null
    wait "$pid" 2> /dev/null
    status=$?
    [ $status -ne 137 ] && n_finished=$((n_finished + 1))
    n_temps=$((n_temps + $(ls -1 | grep -c '^big\.nel\.tmp')))

    if "$cli" big.nel < /dev/null > /dev/null 2>&1; then
      case $(content_of big.nel) in
        old) n_old=$((n_old + 1)) ;;
        new) n_new=$((n_new + 1)) ;;
        *) echo "$layout, kill $i at $target bytes: the notebook opens with a content never saved"; n_lost=$((n_lost + 1)) ;;
      esac
    else
      copy=""
      for c in big.nel.bak*; do
        [ -f "$c" ] && [ "$(content_of "$c")" = old ] && copy=$c
      done
      if [ -n "$copy" ] && "$cli" "$copy" < /dev/null > /dev/null 2>&1; then
        n_offered=$((n_offered + 1))
      else
        echo "$layout, kill $i at $target bytes: the notebook does not open and no copy holds the old content"
        n_lost=$((n_lost + 1))
      fi
    fi
    if [ "$layout" = linked ] && [ "$(stat -c %i big.nel)" != "$(stat -c %i twin.nel)" ]; then
      echo "$layout, kill $i: the notebook lost its second name"; n_lost=$((n_lost + 1))
    fi

    # The next save of the notebook cleans what the killed one left.
    "$cli" old.nel < save-over > /dev/null 2>&1
    left=$(ls -1 | grep -c '^big\.nel\.\(tmp\|bak\)')
    if [ "$left" -ne 0 ]; then
      echo "$layout, kill $i: the next save left $left temporary files or copies"; n_left=$((n_left + left))
    fi
  done
  echo "$layout: $count kills (a whole run writes $((total / 1048576)) MiB in $((full_us / 1000)) ms): old content $n_old, new $n_new, old content offered from its copy $n_offered, lost $n_lost; runs that ended before the kill $n_finished; temporary files seen after a kill $n_temps, left after the next save $n_left"
  [ $n_lost -eq 0 ] && [ $n_left -eq 0 ] || failed=1
done
exit $failed
