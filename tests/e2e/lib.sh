# Shared helpers of the end-to-end tests: a private X server, window manager and tray host, and
# the real program, all stopped when the test ends.
set -euo pipefail

E2E_PIDS=()
E2E_FILES=()
# The program's settings, caches and instance socket go to folders of the test's own, never the
# user's; a script may still choose others after sourcing this file.
E2E_HOME=$(mktemp -d)
mkdir -m 700 "$E2E_HOME/config" "$E2E_HOME/cache" "$E2E_HOME/runtime"
export XDG_CONFIG_HOME=$E2E_HOME/config XDG_CACHE_HOME=$E2E_HOME/cache XDG_RUNTIME_DIR=$E2E_HOME/runtime
cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -f "${E2E_FILES[@]}"
    rm -rf "$E2E_HOME"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb (1920 x 1080) on a display of its own and exports DISPLAY. Without -noreset the
# server resets whenever its last client leaves (the readiness check below is one), and a client
# that connects meanwhile fails: openbox "Failed to open the display", Qt aborts with "could not
# connect to display". The number is drawn at random so that tests never reuse one just given up.
start_x() {
    local attempt n pid
    for attempt in 1 2 3 4 5; do
        n=$((200 + RANDOM % 30000))
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        pid=$!
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            if xprop -display ":$n" -root >/dev/null 2>&1; then
                E2E_PIDS+=($pid)
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
    done
    fail "Xvfb did not start"
}

# Starts window manager $1 (openbox, the default, or xfwm4) and waits until it announces itself on
# the root window; one that ends or stays silent for 15 s is started again, up to three times.
start_wm() {
    local wm=${1:-openbox} attempt pid
    for attempt in 1 2 3; do
        case "$wm" in
        openbox)
            openbox >/dev/null 2>&1 &
            ;;
        xfwm4)
            # xfwm4 reads its settings through xfconf, which needs a session bus of its own.
            NO_AT_BRIDGE=1 dbus-run-session -- xfwm4 --compositor=off --sm-client-disable >/dev/null 2>&1 &
            ;;
        *) fail "unknown window manager $wm" ;;
        esac
        pid=$!
        E2E_PIDS+=($pid)
        for _ in $(seq 150); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    fail "the window manager $wm did not start"
}

start_tray_host() {
    trayer --edge bottom --align right --widthtype pixel --width 100 --height 24 >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    sleep 0.5
}

# Starts the program ($1) and sets APP_PID and WIN (its main window). The waits below are upper
# bounds for a machine busy with other tests; each returns as soon as its state is there.
start_app() {
    APP_LOG=$E2E_HOME/app.log
    QT_QPA_PLATFORM=xcb "$1" >"$APP_LOG" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=($APP_PID)
    WIN=""
    for _ in $(seq 300); do
        WIN=$(xdotool search --name "^Lanternfin 2011$" 2>/dev/null | head -1 || true)
        [ -n "$WIN" ] && break
        sleep 0.1
    done
    if [ -z "$WIN" ]; then
        kill -0 "$APP_PID" 2>/dev/null && echo "the program runs" >&2 || echo "the program has ended" >&2
        cat "$APP_LOG" >&2
        fail "the window did not appear"
    fi
    sleep 1
}

# Waits up to 15 s for the program to end; if it does not, shows its threads' stacks (gdb) and
# its window's state.
expect_ended() {
    for _ in $(seq 150); do
        kill -0 "$APP_PID" 2>/dev/null || return 0
        sleep 0.1
    done
    xwininfo -id "$WIN" 2>/dev/null | grep -E "Absolute|Width|Height|Map State" >&2 || true
    if command -v gdb >/dev/null; then
        gdb -p "$APP_PID" -batch -ex "thread apply all bt 15" 2>/dev/null | grep -E '^(Thread|#)' >&2 || true
    fi
    fail "the program is still running: $1"
}

# The number of tray icons of the program docked in the tray host.
tray_icons() {
    xwininfo -root -tree | grep -c '"Lanternfin": ("lanternfin"' || true
}

map_state() { xwininfo -id "$WIN" | awk '/Map State/ {print $3}'; }

# Waits up to 15 s for the output of command $1 to be $2, else fails with $3.
wait_for_output() {
    for _ in $(seq 150); do
        [ "$($1)" = "$2" ] && return 0
        sleep 0.1
    done
    fail "$3"
}

# The window's map state becomes $1 (IsViewable or IsUnMapped); the program has $1 tray icons.
expect_map_state() { wait_for_output map_state "$1" "$2"; }
expect_tray_icons() { wait_for_output tray_icons "$1" "$2"; }

# Window geometry: sets CX CY (client origin), CW CH (client size), OW OH (outer size).
read_geometry() {
    eval "$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {print "CX=" $4} /Absolute upper-left Y/ {print "CY=" $4}
                                    /^  Width/ {print "CW=" $2} /^  Height/ {print "CH=" $2}')"
    local ext
    ext=$(xprop -id "$WIN" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
    [ -n "$ext" ] || ext="0,0,0,0"
    IFS=, read -r FL FR FT FB <<<"$ext"
    OW=$((CW + FL + FR))
    OH=$((CH + FT + FB))
}

# Clicks a button of the column: $1 its top in twips, $2 its width in twips (layout of the window).
click_button() {
    read_geometry
    local text1w=$((OW - 100))
    local x=$((CX + text1w + 8 + $2 / 30))
    local y=$((CY + $1 / 15 + 12))
    xdotool mousemove "$x" "$y" click 1
    sleep 0.4
}
