#!/usr/bin/env bash
# Edge docking without a window manager (moves read back exactly): a window pushed against the
# top, left or right edge hides when the mouse leaves it, leaving 50 twips on screen, and comes
# back when the mouse touches that edge along it.
. "$(dirname "$0")/lib.sh"
APP=$1
start_x
start_app "$APP"
sleep 3 # docking starts with the first 3-second tick

pos() { xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'; }
read_geometry
W=$CW
H=$CH
# Twips to whole pixels, to the nearest (as the window places itself).
px() { awk -v t="$1" 'BEGIN { v = t / 15; printf "%d", (v < 0 ? v - 0.5 : v + 0.5) }'; }
wait_for() { # $1 expected "x y"
    for _ in $(seq 30); do
        [ "$(pos)" = "$1" ] && return 0
        sleep 0.1
    done
    fail "window at $(pos), expected $1 ($2)"
}

# Top edge.
xdotool mousemove 960 900
xdotool windowmove "$WIN" 700 0
wait_for "700 $(px $((50 - H * 15)))" "hidden at the top"
xdotool mousemove 800 1
wait_for "700 0" "shown at the top"
xdotool mousemove 960 900
wait_for "700 $(px $((50 - H * 15)))" "hidden at the top again"

# Left edge.
xdotool windowmove "$WIN" 0 300
wait_for "$(px $((50 - W * 15))) 300" "hidden at the left"
xdotool mousemove 1 400
wait_for "0 300" "shown at the left"

# Right edge.
xdotool mousemove 960 900
xdotool windowmove "$WIN" $((1920 - W)) 300
wait_for "$(px $((28800 - 50))) 300" "hidden at the right"
xdotool mousemove 1919 400
wait_for "$((1920 - W)) 300" "shown at the right"
echo "docking e2e passed"
