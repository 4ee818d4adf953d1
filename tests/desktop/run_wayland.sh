#!/usr/bin/env bash
# The desktop program on a Wayland session, under a headless weston of its own and Qt's
# Wayland plug-in (QT_QPA_PLATFORM=wayland, as on Debian's GNOME with qt6-wayland):
#   run_wayland.sh first-paint NELO    the window paints, and the program then ends by itself
#   run_wayland.sh input-method NELO   the input method module QT_IM_MODULE names is the one
#                                      the window uses (fcitx5's when its plug-in is installed)
# Ends with 77 (skipped) without weston or without Qt's Wayland plug-in.
set -euo pipefail
mode=$1
nelo=$2
command -v weston >/dev/null || { echo "weston is not installed: skipped"; exit 77; }

work=$(mktemp -d)
weston_pid=
cleanup() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
export NELO_NOW="2026-12-08 09:00:00"
unset DISPLAY QT_IM_MODULE QT_QPA_PLATFORMTHEME
weston --backend=headless-backend.so --socket=nelo-test --idle-time=0 --no-config >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/nelo-test" ] && break
    kill -0 "$weston_pid" 2>/dev/null || { cat "$work/weston.log"; echo "weston did not start"; exit 1; }
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/nelo-test" ] || { cat "$work/weston.log"; echo "weston made no socket"; exit 1; }
export WAYLAND_DISPLAY=nelo-test QT_QPA_PLATFORM=wayland

# Runs nelo until its first paint; its stdout and stderr land in $work/out and $work/err.
first_paint() {
    local status=0
    timeout -s KILL 60 "$nelo" --new --quit-after-first-paint >"$work/out" 2>"$work/err" || status=$?
    if grep -q 'Could not find the Qt platform plugin "wayland"\|could not load the Qt platform plugin "wayland"' "$work/err"; then
        echo "Qt's Wayland plug-in (qt6-wayland) is not installed: skipped"
        exit 77
    fi
    if [ $status -ne 0 ]; then
        cat "$work/err"
        echo "nelo ended with status $status (137: killed after 60 s)"
        exit 1
    fi
}

case "$mode" in
first-paint)
    first_paint
    grep -Eq '^FIRSTPAINT_MONO_NS=[0-9]+$' "$work/out" || { cat "$work/out" "$work/err"; echo "no first paint"; exit 1; }
    echo "painted on Wayland: $(cat "$work/out")"
    ;;
input-method)
    # Qt's Wayland plug-in names the input context it uses on its debug channel.
    export QT_LOGGING_RULES="qt.qpa.wayland.debug=true"
    checked=0
    while IFS='|' read -r module plugin context; do
        if [ -n "$plugin" ] && ! ls /usr/lib/*/qt6/plugins/platforminputcontexts/"$plugin" >/dev/null 2>&1; then
            echo "QT_IM_MODULE=$module: $plugin is not installed, not checked"
            continue
        fi
        if [ -n "$module" ]; then export QT_IM_MODULE=$module; else unset QT_IM_MODULE; fi
        first_paint
        used=$(sed -n 's/^qt\.qpa\.wayland: using input method: //p' "$work/err" | tail -n 1)
        [ "$used" = "$context" ] || { echo "QT_IM_MODULE=$module: used ${used:-nothing named}, expected $context"; exit 1; }
        echo "QT_IM_MODULE=${module:-(unset)}: $used"
        checked=$((checked + 1))
    done <<'ROWS'
fcitx|libfcitx5platforminputcontextplugin.so|fcitx::QFcitxPlatformInputContext
compose|libcomposeplatforminputcontextplugin.so|QComposeInputContext
||QtWaylandClient::QWaylandInputContext
ROWS
    [ $checked -gt 0 ] || exit 77
    ;;
*)
    echo "usage: $0 first-paint|input-method NELO" >&2
    exit 2
    ;;
esac
