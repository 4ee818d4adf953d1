#!/usr/bin/env bash
# The sizes README.md gives, measured instead of written by hand:
#   - the package file and its installed size, from the package make deb built;
#   - what the desktop program's Qt packages (scripts/install-deps.sh run) add to a minimal
#     Debian 12 system (its Essential and required packages), to download and installed,
#     from apt's own simulation of that install against the archive's package lists.
#   scripts/readme-sizes.sh [DEB]            writes the figures into README.md
#   scripts/readme-sizes.sh --check [DEB]    fails when a figure in README.md is off by more
#                                            than 10 % (make install-check runs this)
# Sizes are in MB of 1,000,000 bytes, as apt gives them.
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
if [ "${1:-}" = --check ]; then
    check=true
    shift
fi
deb=${1:-$(ls nelo_*.deb 2>/dev/null | head -n 1)}
[ -f "$deb" ] || { echo "readme-sizes: no package (make deb builds one)" >&2; exit 1; }
qt_packages=(qt6-base-dev qt6-svg-dev qt6-translations-l10n)
mb() { awk -v b="$1" -v f="${2:-%.1f}" 'BEGIN { printf f, b / 1e6 }'; }

deb_bytes=$(stat -c %s "$deb")
installed_bytes=$(($(dpkg-deb -f "$deb" Installed-Size) * 1024))
deb_mb=$(mb "$deb_bytes")
installed_mb=$(mb "$installed_bytes")

# apt's plan for a system whose dpkg status is empty: first for the minimal system alone,
# then with the Qt packages; what the second installs beyond the first is what they add.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/status"
plan() {
    apt-get install --simulate --no-install-recommends -o Dir::State::status="$work/status" \
        -o Debug::NoLocking=1 "$@" 2>/dev/null | awk '/^Inst / { print $2 }' | sort -u
}
apt-cache dumpavail | awk 'BEGIN { RS = "" } /\nPriority: required/ || /\nEssential: yes/ {
    if (match($0, /^Package: [^\n]+/)) print substr($0, 10, RLENGTH - 9) }' | sort -u >"$work/base"
if [ -s "$work/base" ]; then
    plan $(cat "$work/base") >"$work/minimal"
    plan $(cat "$work/base") "${qt_packages[@]}" >"$work/with-qt"
    comm -13 "$work/minimal" "$work/with-qt" >"$work/added"
    read -r qt_download qt_installed < <(apt-cache show --no-all-versions $(cat "$work/added") |
        awk '/^Size:/ { d += $2 } /^Installed-Size:/ { i += $2 } END { printf "%.0f %.0f\n", d / 1e6, i * 1024 / 1e6 }')
elif $check; then
    # A system whose package lists were removed (a slimmed container) cannot say what Qt
    # takes; the package's own sizes are still checked.
    echo "readme-sizes: apt has no package lists; the Qt sizes are not checked" >&2
    qt_download=
    qt_installed=
else
    echo "readme-sizes: apt has no package lists (apt-get update)" >&2
    exit 1
fi

package_text="The package (about $deb_mb MB, $installed_mb MB installed)"
qt_text="about $qt_download MB to download, $qt_installed MB installed on a minimal Debian 12"
echo "package: $deb_mb MB, $installed_mb MB installed; Qt: $qt_download MB to download, $qt_installed MB installed"

if ! $check; then
    sed -i -E -e "s/The package \(about [0-9.]+ MB, [0-9.]+ MB installed\)/$package_text/" \
        -e "s/about [0-9.]+ MB to download, [0-9.]+ MB installed on a minimal Debian 12/$qt_text/" README.md
fi
# Each figure the README states, against the measured one.
stated=$(for phrase in "The package \(about [0-9.]+ MB, [0-9.]+ MB installed\)" \
    "about [0-9.]+ MB to download, [0-9.]+ MB installed on a minimal Debian 12"; do
    grep -oE "$phrase" README.md | head -n 1 | grep -oE '[0-9.]+ MB' | grep -oE '[0-9.]+'
done | tr '\n' ' ')
read -r -a figures <<<"$stated"
[ ${#figures[@]} -eq 4 ] || { echo "readme-sizes: README.md does not state the four sizes" >&2; exit 1; }
measured=("$(mb "$deb_bytes" %.3f)" "$(mb "$installed_bytes" %.3f)" "$qt_download" "$qt_installed")
names=("package" "installed package" "Qt download" "Qt installed")
for i in 0 1 2 3; do
    [ -n "${measured[$i]}" ] || continue
    if ! awk -v s="${figures[$i]}" -v m="${measured[$i]}" 'BEGIN { exit !(s >= m * 0.9 && s <= m * 1.1) }'; then
        echo "readme-sizes: README.md says ${figures[$i]} MB for the ${names[$i]}, measured ${measured[$i]} MB (scripts/readme-sizes.sh writes it)" >&2
        exit 1
    fi
done
