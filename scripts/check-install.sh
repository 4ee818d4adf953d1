#!/usr/bin/env bash
# Installs a build into a staging folder (DESTDIR) and checks what lands there, then makes
# the Debian package and checks it:
#   scripts/check-install.sh [BUILD]      (BUILD: a configured and built folder, default build)
# The programs must run from the staged tree and hold no path of the build or source tree,
# and the desktop entry, metainfo, manual pages, file type and completion must pass their
# validators. The tools come from scripts/install-deps.sh package.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
src=$(pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }
export LC_ALL=C.UTF-8

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root=$stage/usr
id=com.vantor.Nelo
for f in bin/nelo bin/nelo-cli \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/256x256/apps/$id.png share/man/man1/nelo.1.gz share/man/man1/nelo-cli.1.gz \
    share/bash-completion/completions/nelo-cli share/bash-completion/completions/nelo \
    share/nelo/help.html share/doc/nelo/copyright share/doc/nelo/changelog.gz; do
    [ -f "$root/$f" ] || fail "missing $f"
done

# The programs: no build-tree path, no RPATH, and they run from the staged tree.
for p in nelo nelo-cli; do
    if strings "$root/bin/$p" | grep -F -e "$src" -e "$(cd "$build" && pwd)"; then
        fail "$p holds a path of the build tree"
    fi
    if readelf -d "$root/bin/$p" | grep -E 'RPATH|RUNPATH'; then fail "$p has an RPATH"; fi
done
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
echo "staged install: all checks passed"

# The Debian package.
(cd "$build" && rm -f nelo_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/nelo_*.deb)
dpkg-deb -f "$deb" Package Version Depends
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
lintian --fail-on error,warning "$deb" || fail "lintian found errors or warnings"
echo "package: lintian passed"
