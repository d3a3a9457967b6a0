#!/usr/bin/env bash
# A window hidden at the top edge and brought back by a command (a second start with --show) stays
# while the user types in it, the mouse away, and hides once the mouse has come in and gone out.
# Docked, it stays while its message box is open and while it is dragged by its title bar; dropped
# away from the edge, it is no longer docked.
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

# Shown again at the edge, its message box open (金额大写 on the typed text), the mouse away: it
# stays until the box is closed.
xdotool mousemove 800 1
expect_map_state IsViewable "not shown again at the top edge"
click_button 1100 1150   # 金额大写
xdotool mousemove 960 900
sleep 1.5
[ "$(map_state)" = IsViewable ] || fail "hidden behind its message box"
xdotool key Return
expect_map_state IsUnMapped "not hidden once the message box closed"

# Shown again and dragged by its title bar along the edge: shown all along (it hid mid-drag).
xdotool mousemove 800 1
expect_map_state IsViewable "not shown again at the top edge"
read_geometry
xdotool mousemove $((CX + 100)) $((CY - FT / 2)) mousedown 1
for _ in $(seq 10); do
    xdotool mousemove_relative -- 40 0
    sleep 0.1
    [ "$(map_state)" = IsViewable ] || fail "hidden while dragged by its title bar"
done
# Dropped 300 pixels down and left there: no longer docked.
xdotool mousemove_relative -- 0 300 sleep 0.2 mouseup 1
xdotool mousemove 960 1000
sleep 1.5
read_geometry
[ "$(map_state)" = IsViewable ] && [ "$CY" -gt 200 ] || fail "dropped away from the edge, still docked ($(map_state) at y $CY)"
echo "docking focus e2e passed"
