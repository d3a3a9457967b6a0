#!/usr/bin/env bash
# The window opens with the same size at every start, whether the window manager frames it before
# or after the program has held it at its minimum size. Six starts: three under a running openbox,
# three where openbox comes up just after the window (so it frames a window already sized); a size
# that alternated between starts shows in either three.
source "$(dirname "$0")/lib.sh"
APP=$1

start_x

# The window's client size and its outer size (with the frame the window manager announces),
# "WxH WxH", once they have stayed the same for 3.5 s: the window looks at its frame again at
# least every 3 s.
settled_size() {
    local last="" now="" same=0 w h ext l r t b
    for _ in $(seq 150); do
        read -r w h < <(xwininfo -id "$WIN" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
        ext=$(xprop -id "$WIN" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ',')
        read -r l r t b <<<"${ext:-0 0 0 0}"
        now="${w}x${h} $((w + l + r))x$((h + t + b))"
        if [ "$now" = "$last" ]; then
            same=$((same + 1))
            [ "$same" -ge 35 ] && break
        else
            same=0
        fi
        last=$now
        sleep 0.1
    done
    echo "$now"
}

stop_app() {
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
}

sizes=()
start_wm openbox
WM_PID=${E2E_PIDS[-1]}
for i in 1 2 3; do
    start_app "$APP"
    sizes+=("$(settled_size)")
    stop_app
done
kill "$WM_PID"
wait "$WM_PID" 2>/dev/null || true
for i in 4 5 6; do
    start_app "$APP"
    start_wm openbox
    WM_PID=${E2E_PIDS[-1]}
    sizes+=("$(settled_size)")
    stop_app
    kill "$WM_PID"
    wait "$WM_PID" 2>/dev/null || true
done

printf '%s\n' "${sizes[@]}"
first=${sizes[0]}
for s in "${sizes[@]}"; do
    [ "$s" = "$first" ] || fail "the window's size differs between starts: ${sizes[*]}"
done
# At 96 DPI the window is held at its minimum outer height, 7125 twips: 475 pixels.
outer_h=${first##*x}
[ "$outer_h" = 475 ] || fail "outer height $outer_h, not 475"
echo "PASS: six starts, each $first"
