#!/usr/bin/env bash
# Installs the Debian 12 packages Nelo needs, only those that are missing.
#   install-deps.sh run     what building and starting nelo and nelo-cli needs (Qt 6, libical, the
#                           Japanese fonts)
#   install-deps.sh test    plus the test tools (GoogleTest, clang for the fuzz targets, clang-format,
#                           poppler-utils to read printed PDFs back, python3-icalendar, calcurse
#                           and khal to read the exported calendar files, dunst as the notification
#                           service of the reminders' test, desktop-file-validate for the autostart
#                           entry, openbox, xdotool and x11-utils for the window under a window manager)
#   install-deps.sh bench   plus Google Benchmark and the peers the benchmarks compare against
#   install-deps.sh package plus what makes and checks the Debian package (dpkg-shlibdeps, lintian,
#                           desktop-file-validate, appstreamcli, update-mime-database, man)
set -euo pipefail
what=${1:-run}
pkgs=(g++ cmake ninja-build make pkg-config libedit-dev libical-dev qt6-base-dev libxcb-xkb-dev qt6-translations-l10n
      fonts-ipafont-gothic fonts-ipafont-mincho)
case "$what" in
  run) ;;
  test) pkgs+=(libgtest-dev libgmock-dev clang libclang-rt-14-dev clang-format xvfb xauth poppler-utils python3-icalendar calcurse khal
               dbus-daemon at-spi2-core python3-pyatspi dunst desktop-file-utils openbox xdotool x11-utils) ;;
  bench) pkgs+=(libgtest-dev libgmock-dev libbenchmark-dev bc hyperfine time python3) ;;
  package) pkgs+=(dpkg-dev file lintian desktop-file-utils appstream shared-mime-info man-db groff-base) ;;
  *) echo "usage: $0 run|test|bench|package" >&2; exit 2 ;;
esac
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
