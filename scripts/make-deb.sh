#!/usr/bin/env bash
# Builds the Debian package from the programs alone, in a build folder of its own:
#   scripts/make-deb.sh [BUILD]      (default build-deb; writes nelo_<version>_<arch>.deb here)
# No tests and no benchmarks are built. The compiler and linker get Debian's flags from
# dpkg-buildflags with every hardening feature (_FORTIFY_SOURCE, -fstack-protector-strong,
# relro with immediate binding, PIE), as a package built by dpkg-buildpackage would; the
# folder is kept, so the next package after a change rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}
jobs=${JOBS:-2}
start=$(date +%s)

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flag() { dpkg-buildflags --get "$1"; }
# Build type None: the flags are dpkg-buildflags' alone (-O2 -g, stripped at install).
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DNELO_BUILD_TESTS=OFF -DNELO_BUILD_BENCH=OFF -DNELO_BUILD_FUZZ=OFF -DNELO_SANITIZE=OFF \
    -DCMAKE_CXX_FLAGS="$(flag CPPFLAGS) $(flag CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flag LDFLAGS)" >/dev/null
cmake --build "$build" -j"$jobs"
[ -x "$build/bin/nelo" ] || { echo "make-deb: the desktop program was not built (is qt6-base-dev installed?)" >&2; exit 1; }

rm -f "$build"/nelo_*.deb ./nelo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
cp "$build"/nelo_*.deb .
deb=$(ls nelo_*.deb)
echo "make-deb: $deb, $(stat -c %s "$deb") bytes, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB, $(($(date +%s) - start)) s"
