#!/usr/bin/env bash
# Installs the Debian 12 packages Nelo needs, only those that are missing.
#   install-deps.sh run     what building and starting nelo and nelo-cli needs (Qt 6, libical, the
#                           Japanese fonts)
#   install-deps.sh test    plus the test tools (GoogleTest, clang for the fuzz targets and a build of
#                           the tests, clang-format, clang-tidy,
#                           poppler-utils to read printed PDFs back, python3-icalendar, calcurse
#                           and khal to read the exported calendar files, dunst as the notification
#                           service of the reminders' test, desktop-file-validate for the autostart
#                           entry, openbox, xdotool and x11-utils for the window under a window manager,
#                           weston, qt6-wayland and fcitx5-frontend-qt6 for the window on a headless
#                           Wayland compositor with an input method module)
#   install-deps.sh bench   plus Google Benchmark and the peers the benchmarks compare against
#   install-deps.sh package plus what makes and checks the Debian package (dpkg-shlibdeps, lintian,
#                           desktop-file-validate, appstreamcli, update-mime-database, man, and
#                           xvfb with xprop for the window's class)
# When another program holds the package lock (an update running in the background), it
# waits for it up to five minutes instead of failing.
set -euo pipefail
what=${1:-run}
pkgs=(g++ cmake ninja-build make pkg-config libedit-dev libical-dev qt6-base-dev qt6-svg-dev libxcb-xkb-dev
      qt6-translations-l10n fonts-ipafont-gothic fonts-ipafont-mincho)
case "$what" in
  run) ;;
  test) pkgs+=(libgtest-dev libgmock-dev clang libclang-rt-14-dev clang-format clang-tidy xvfb xauth poppler-utils python3-icalendar calcurse khal
               dbus-daemon at-spi2-core python3-pyatspi dunst desktop-file-utils openbox xdotool x11-utils
               weston qt6-wayland fcitx5-frontend-qt6) ;;
  bench) pkgs+=(libgtest-dev libgmock-dev libbenchmark-dev bc hyperfine time python3) ;;
  package) pkgs+=(dpkg-dev file lintian desktop-file-utils appstream shared-mime-info man-db groff-base
                  xvfb xauth x11-utils) ;;
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
lock_wait=300
# apt-get waits for the dpkg lock by itself (DPkg::Lock::Timeout), but not for the lock of
# the package lists that apt-get update takes: that one is retried here.
waited=0
until out=$($sudo env LC_ALL=C apt-get update -qq 2>&1); do
    if [ $waited -lt $lock_wait ] && grep -q 'Could not get lock' <<<"$out"; then
        [ $waited -eq 0 ] && echo "Waiting for another package manager to finish..."
        sleep 5
        waited=$((waited + 5))
        continue
    fi
    echo "$out" >&2
    exit 1
done
[ -z "$out" ] || echo "$out"
$sudo apt-get -o DPkg::Lock::Timeout=$lock_wait install -y -qq --no-install-recommends "${missing[@]}"
