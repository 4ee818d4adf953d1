#!/usr/bin/env bash
# Installs the package's build into a staging folder (DESTDIR) and checks what lands there,
# then makes the Debian package and checks it:
#   scripts/check-install.sh [BUILD]      (BUILD: the folder make deb built, default build-deb)
# The programs must run from the staged tree, hold no path of the build or source tree and
# carry Debian's hardening; the desktop entry, metainfo, manual pages, file type and
# completion must pass their validators; the window's class must be the desktop entry's
# StartupWMClass (under Xvfb); lintian --pedantic must find nothing. The tools come from
# scripts/install-deps.sh package.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}
src=$(pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }
export LC_ALL=C.UTF-8

# The package's build holds the programs and nothing else (no tests, no benchmarks).
built=$(cd "$build/bin" && ls | tr '\n' ' ')
[ "$built" = "nelo nelo-cli " ] || fail "$build/bin holds more than the two programs: $built"

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr
id=com.vantor.Nelo
for f in bin/nelo bin/nelo-cli \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/256x256/apps/$id.png share/man/man1/nelo.1.gz share/man/man1/nelo-cli.1.gz \
    share/bash-completion/completions/nelo-cli share/bash-completion/completions/nelo \
    share/doc/nelo/help.html share/doc-base/nelo share/doc/nelo/copyright share/doc/nelo/changelog.gz; do
    [ -f "$root/$f" ] || fail "missing $f"
done

# The programs: no build-tree path, no RPATH, and they run from the staged tree.
for p in nelo nelo-cli; do
    if strings "$root/bin/$p" | grep -F -e "$src" -e "$(cd "$build" && pwd)"; then
        fail "$p holds a path of the build tree"
    fi
    if readelf -d "$root/bin/$p" | grep -E 'RPATH|RUNPATH'; then fail "$p has an RPATH"; fi
done
# Debian's hardening: position-independent, relocations read-only and bound at start,
# the stack protector, and the checked forms of the C library's string and print functions.
for p in nelo nelo-cli; do
    elf=$root/bin/$p
    grep -q 'Type: *DYN' <<<"$(readelf -hW "$elf")" || fail "$p is not position-independent"
    grep -q GNU_RELRO <<<"$(readelf -lW "$elf")" || fail "$p has no read-only relocations"
    grep -Eq 'BIND_NOW|FLAGS_1.* NOW' <<<"$(readelf -dW "$elf")" || fail "$p does not bind at start"
    symbols=$(readelf --dyn-syms -W "$elf")
    grep -q '__stack_chk_fail' <<<"$symbols" || fail "$p has no stack protector"
    grep -Eq ' __[a-z_]+_chk(@|$)' <<<"$symbols" || fail "$p uses no fortified function"
done
echo "hardened: PIE, relro, bind now, stack protector, fortified functions"
[ "$("$root/bin/nelo-cli" --version)" = "nelo-cli (Nelo) 1.00" ] || fail "staged nelo-cli --version"
[ "$("$root/bin/nelo" --version)" = "nelo (Nelo) 1.00" ] || fail "staged nelo --version"
echo "staged: $("$root/bin/nelo-cli" --version), $("$root/bin/nelo" --version)"

desktop-file-validate "$root/share/applications/$id.desktop"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml"

# Manual pages: no warning from man nor from groff.
for page in "$root"/share/man/man1/*.1.gz; do
    warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
    warnings+=$(zcat "$page" | groff -ww -z -man -k -Tutf8 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# The file type: the staged database built from the staged XML knows *.nel.
XDG_DATA_DIRS="$root/share" update-mime-database "$root/share/mime"
grep -q '^50:application/x-nelo-notebook:\*\.nel$' "$root/share/mime/globs2" || fail "*.nel is not in the MIME database"
grep -q 'ＮＥＬＯ ノート' "$root/share/mime/application/x-nelo-notebook.xml" || fail "the MIME type has no Japanese comment"

# Completion: the options, and of the files only notebooks (and folders).
mkdir "$stage/files" "$stage/files/folder"
touch "$stage/files/a.nel" "$stage/files/b.txt"
completions=$(cd "$stage/files" && bash -c '
    source "$1"
    complete_line() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _nelo_complete; echo "${COMPREPLY[*]}"; }
    complete_line nelo-cli --v
    complete_line nelo-cli ""' _ "$root/share/bash-completion/completions/nelo-cli")
[ "$completions" = $'--version\na.nel folder' ] || fail "completion gave: $completions"
# The window belongs to its menu entry: a shell matches them by the window's class
# (WM_CLASS), which must be the entry's StartupWMClass.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/share/applications/$id.desktop")
[ -n "$wm_class" ] || fail "the desktop entry has no StartupWMClass"
mkdir -p "$stage/x/config" "$stage/x/state" "$stage/x/runtime"
chmod 700 "$stage/x/runtime"
seen=$(XDG_CONFIG_HOME=$stage/x/config XDG_STATE_HOME=$stage/x/state XDG_RUNTIME_DIR=$stage/x/runtime \
    QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
    "$1" --new & pid=$!
    for _ in $(seq 200); do
        id=$(xwininfo -root -tree | awk "/\(\"nelo\" / { print \$1; exit }")
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] && xprop -id "$id" WM_CLASS
    kill $pid; wait $pid 2>/dev/null
    true' _ "$root/bin/nelo")
[ "$seen" = "WM_CLASS(STRING) = \"nelo\", \"$wm_class\"" ] || fail "window class: ${seen:-no window} (StartupWMClass=$wm_class)"
echo "window: $seen matches StartupWMClass"
echo "staged install: all checks passed"

# The Debian package.
(cd "$build" && rm -f nelo_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/nelo_*.deb)
dpkg-deb -f "$deb" Package Version Depends Recommends
[ "$(dpkg-deb -f "$deb" Recommends)" = "bash-completion, qt6-wayland" ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$deb" || fail "lintian found something"
echo "package: lintian --pedantic passed"
./scripts/readme-sizes.sh --check "$deb"
