#!/usr/bin/env bash
# The folders of src/ stand in levels; a folder includes headers of its own folder and
# of folders on lower levels only, no folder but the desktop program includes a Qt header
# (the terminal program neither), and no folder but calendar includes a libical header.
#   check_layers.sh order SRC_DIR     every #include "folder/..." follows the levels
#   check_layers.sh qt SRC_DIR        no folder but desktop includes a Qt header
#   check_layers.sh libical SRC_DIR   only the calendar folder includes libical
# Before the sources, the checker is run over a table of lines with known verdicts, so
# a checker that passes everything fails instead.
set -euo pipefail

declare -A LEVEL=(
  [text]=0
  [platform]=1 [strings]=1 [units]=1
  [dates]=2 [memo]=2
  [calc]=3 [schedule]=3
  [notebook]=4 [reminders]=4
  [models]=5 [conversation]=5 [app]=5 [transcript]=5
  [calendar]=6
  [cli]=7 [desktop]=7
)
# The folders that may include Qt headers.
QT_FOLDERS=" desktop "
# Includes between two folders of one level that have to be (none at present).
SAME_LEVEL=" "

folder_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z]+)/'
libical_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]libical/'
qt_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Qt[A-Za-z]*[/>"]|Q[A-Z][A-Za-z0-9]*[>"]|q[a-z0-9]+\.h[>"])'

# order_verdict FOLDER LINE: sets WHY to the reason an include line of FOLDER breaks
# the levels, or to nothing.
order_verdict() {
  local from=$1 line=$2 to
  WHY=
  [[ $line =~ $folder_re ]] || return 0
  to=${BASH_REMATCH[1]}
  if [[ -z ${LEVEL[$to]+x} ]]; then
    WHY="folder $to has no level"
  elif [[ $to == "$from" ]]; then
    return 0
  elif ((LEVEL[$to] > LEVEL[$from])); then
    WHY="$to is above $from"
  elif ((LEVEL[$to] == LEVEL[$from])) && [[ $SAME_LEVEL != *" $from>$to "* ]]; then
    WHY="$to is on the level of $from"
  fi
}

# qt_verdict FOLDER LINE: as order_verdict, for Qt headers.
qt_verdict() {
  local from=$1 line=$2
  WHY=
  [[ $line =~ $qt_re ]] || return 0
  [[ $QT_FOLDERS == *" $from "* ]] || WHY="a Qt header in $from, outside the desktop program"
}

# libical_verdict FOLDER LINE: as order_verdict, for libical headers.
libical_verdict() {
  local from=$1 line=$2
  WHY=
  [[ $line =~ $libical_re ]] || return 0
  [[ $from == calendar ]] || WHY="a libical header outside the calendar folder, in $from"
}

# folder|line|expected verdict (ok or fail)
ORDER_CASES=(
  'notebook|#include "text/JText.h"|ok'
  'memo|#include "memo/Memo.h"|ok'
  'schedule|#include "calc/Scanner.h"|fail'
  'cli|  # include "models/RowList.h"|ok'
  'text|#include <string>|ok'
  'text|#include "notebook/Notebook.h"|fail'
  'notebook|#include "transcript/TranscriptView.h"|fail'
  'memo|#include "calc/Calculator.h"|fail'
  'units|#include "dates/DateText.h"|fail'
  'calc|#include "schedule/ScheduleBook.h"|fail'
  'cli|#include "desktop/MainWindow.h"|fail'
  'app|#include "widgets/Pane.h"|fail'
  'calendar|#include "models/ScheduleListModel.h"|ok'
  'models|#include "calendar/ICalendar.h"|fail'
  'schedule|#include "calendar/ICalendar.h"|fail'
)
LIBICAL_CASES=(
  'calendar|#include <libical/ical.h>|ok'
  'schedule|#include <libical/ical.h>|fail'
  'cli|#include "libical/icaltime.h"|fail'
  'models|#include "calendar/ICalendar.h"|ok'
)
QT_CASES=(
  'notebook|#include <QString>|fail'
  'transcript|#include <QtWidgets/QWidget>|fail'
  'app|#include <QtCore>|fail'
  'platform|#include <qglobal.h>|fail'
  'desktop|#include <QString>|ok'
  'desktop|#include <QtWidgets/QMainWindow>|ok'
  'cli|#include <QtCore/QFile>|fail'
  'cli|#include <QString>|fail'
  'cli|  #  include "qobject.h"|fail'
  'calendar|#include <QDateTime>|fail'
  'text|#include <queue>|ok'
  'dates|#include "dates/DateParser.h"|ok'
)

mode=${1:-}
src=${2:-}
case "$mode" in
  order) verdict=order_verdict; cases=("${ORDER_CASES[@]}") ;;
  qt) verdict=qt_verdict; cases=("${QT_CASES[@]}") ;;
  libical) verdict=libical_verdict; cases=("${LIBICAL_CASES[@]}") ;;
  *) echo "usage: $0 order|qt|libical SRC_DIR" >&2; exit 2 ;;
esac
[[ -d $src ]] || { echo "no folder $src" >&2; exit 2; }

status=0
for c in "${cases[@]}"; do
  IFS='|' read -r from line want <<<"$c"
  $verdict "$from" "$line"
  if [[ ($want == ok && -n $WHY) || ($want == fail && -z $WHY) ]]; then
    echo "checker: $from: '$line' should be $want, got '${WHY:-ok}'"
    status=1
  fi
done

for dir in "$src"/*/; do
  from=$(basename "$dir")
  if [[ $mode == order && -z ${LEVEL[$from]+x} ]]; then
    echo "src/$from has no level: place it in tests/layers/check_layers.sh and the README"
    status=1
    continue
  fi
  # file:line:text of every include line of the folder
  while IFS= read -r hit; do
    line=${hit#*:*:}
    $verdict "$from" "$line"
    if [[ -n $WHY ]]; then
      echo "${hit%%:*}:$(cut -d: -f2 <<<"$hit"): ${line} -- $WHY"
      status=1
    fi
  done < <(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) -print0 | sort -z |
           xargs -0 -r grep -HnE '^[[:space:]]*#[[:space:]]*include' || true)
done
exit $status
