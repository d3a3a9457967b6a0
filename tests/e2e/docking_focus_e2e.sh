#!/usr/bin/env bash
# A window hidden at the top edge and brought back by a command (a second start with --show) stays
# while the user types in it, the mouse away, and hides once the mouse has come in and gone out.
. "$(dirname "$0")/lib.sh"
APP=$1

start_x
start_wm openbox
start_app "$APP"

# Docked at the top edge, the mouse away: hidden behind its strip.
xdotool windowmove "$WIN" 700 0
xdotool mousemove 960 900
expect_map_state IsUnMapped "not hidden at the top edge"

# Brought back by a command.
QT_QPA_PLATFORM=xcb "$APP" --show || fail "lanternfin --show failed"
expect_map_state IsViewable "--show did not bring the window back"
read_geometry
[ $((CY - FT)) -le 0 ] || fail "back at y = $((CY - FT)), not at the top edge"
for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WIN" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$WIN" ] || fail "the window brought back has not the keyboard focus"

# Six seconds of typing, the mouse away: shown all along (the docking pass runs every 0.5 s).
end=$((SECONDS + 6))
while [ "$SECONDS" -lt "$end" ]; do
    xdotool type --delay 100 "abc "
    [ "$(map_state)" = IsViewable ] || fail "hidden while the user types, $((6 - end + SECONDS)) s in"
done
echo "shown through 6 s of typing" >&2

# The typed text reached the workspace: copied with Ctrl+A, Ctrl+C... the window's own 全部复制.
click_button 2640 1150
typed=$(xclip -selection clipboard -o 2>/dev/null || true)
[[ "$typed" == "abc abc"* ]] || fail "the typing did not reach the workspace: '$typed'"

# The mouse comes in, then goes out: hidden.
read_geometry
xdotool mousemove $((CX + 40)) $((CY + 40))
sleep 1
[ "$(map_state)" = IsViewable ] || fail "hidden with the mouse over it"
xdotool mousemove 960 900
expect_map_state IsUnMapped "not hidden after the mouse came in and went out"
echo "docking focus e2e passed"
