#!/usr/bin/env bash
# Wayland sessions under weston's headless backend: with XWayland the program runs on X11 (xcb)
# unless the user chose a platform; without it, natively on Wayland. Either way one instance
# answers --toggle and --quit, and --tray shows the window where there is no notification area.
# Skipped (77) without weston, Xwayland or Qt's Wayland plugin.
. "$(dirname "$0")/lib.sh"
APP=$1
command -v weston >/dev/null && command -v Xwayland >/dev/null || { echo "weston or Xwayland missing"; exit 77; }
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || { echo "qt6-wayland missing"; exit 77; }

XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wl-e2e
unset DISPLAY QT_QPA_PLATFORM
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR"' EXIT

# Starts weston with the extra arguments $@; with --xwayland, exports DISPLAY of its X server.
start_weston() {
    local log=$XDG_RUNTIME_DIR/weston-$RANDOM.log
    weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --log="$log" "$@" \
        >/dev/null 2>&1 &
    WESTON=$!
    E2E_PIDS+=($WESTON)
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
        sleep 0.1
    done
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || fail "weston did not start"
    if [ "${1:-}" = --xwayland ]; then
        for _ in $(seq 100); do
            grep -q "xserver listening on display" "$log" && break
            sleep 0.1
        done
        DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log" | head -1)
        [ -n "$DISPLAY" ] || fail "no Xwayland display in weston's log"
        export DISPLAY
    fi
}
stop_weston() {
    kill "$WESTON" 2>/dev/null || true
    wait "$WESTON" 2>/dev/null || true
    unset DISPLAY
    rm -f "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY.lock"
}
listening() {
    local f
    for f in "$XDG_RUNTIME_DIR"/lanternfin-*; do [ -S "$f" ] && echo yes && return; done
    echo no
}
# Starts the program (extra environment $@) and waits for its instance socket.
start_program() {
    env "$@" "$APP" >/dev/null 2>&1 &
    APP_PID=$!
    E2E_PIDS+=($APP_PID)
    wait_for_output listening yes "the program did not start ($*)"
}
# Waits up to 15 s for the program to end (a loaded machine slows weston down); on failure says
# what the program was doing.
expect_ended_on_wayland() {
    for _ in $(seq 150); do
        kill -0 "$APP_PID" 2>/dev/null || return 0
        sleep 0.1
    done
    local state
    state="$(grep State "/proc/$APP_PID/status"), in $(cat "/proc/$APP_PID/wchan")"
    if command -v gdb >/dev/null; then
        gdb -p "$APP_PID" -batch -ex "thread apply all bt 12" 2>/dev/null | grep -E '^(Thread|#)' >&2 || true
    fi
    fail "the program is still running $1: $state"
}
# The Qt platform plugin the program has loaded.
platform_plugin() { grep -o "platforms/libq[a-z-]*\.so" "/proc/$APP_PID/maps" | sort -u | head -1; }
x_map_state() {
    local w
    w=$(xdotool search --name "^Lanternfin 2011$" 2>/dev/null | head -1 || true)
    [ -n "$w" ] && xwininfo -id "$w" | awk '/Map State/ {print $3}'
}

# 1. XWayland there, no platform chosen: X11.
start_weston --xwayland
start_program
[ "$(platform_plugin)" = platforms/libqxcb.so ] || fail "with XWayland the program runs on $(platform_plugin)"
wait_for_output x_map_state IsViewable "no window on the XWayland display"
"$APP" --toggle || fail "--toggle failed"
wait_for_output x_map_state IsUnMapped "--toggle did not hide the window"
"$APP" --quit || fail "--quit failed"
expect_ended_on_wayland "after --quit with XWayland"
# --tray where no notification area is: shown, since hidden it could never come back.
"$APP" --tray >/dev/null 2>&1 &
APP_PID=$!
E2E_PIDS+=($APP_PID)
wait_for_output x_map_state IsViewable "--tray without a notification area did not show the window"
"$APP" --quit || fail "--quit failed"
expect_ended_on_wayland "after --quit of the --tray start"

# 2. The user's choice stands.
start_program QT_QPA_PLATFORM=wayland
[ "$(platform_plugin)" = platforms/libqwayland-generic.so ] ||
    fail "QT_QPA_PLATFORM=wayland was not kept: $(platform_plugin)"
"$APP" --quit || fail "--quit failed"
expect_ended_on_wayland "after --quit on the chosen platform"
stop_weston

# 3. No XWayland: natively on Wayland, still one instance.
start_weston
start_program
[ "$(platform_plugin)" = platforms/libqwayland-generic.so ] ||
    fail "without XWayland the program runs on $(platform_plugin)"
"$APP" || fail "a second start failed"
[ "$(pgrep -x lanternfin | while read -r p; do tr '\0' '\n' <"/proc/$p/environ" | grep -qx "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" && echo "$p"; done | wc -l)" = 1 ] ||
    fail "a second start on Wayland left two programs"
"$APP" --quit || fail "--quit failed"
expect_ended_on_wayland "after --quit on Wayland"
echo "wayland e2e passed"
