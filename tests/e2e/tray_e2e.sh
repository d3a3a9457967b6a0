#!/usr/bin/env bash
# The tray icon under Xvfb with openbox and trayer: a click hides and brings back the window,
# minimising hides it and leaves the icon, the right button's menu ends the program, and no way
# out leaves an icon behind.
. "$(dirname "$0")/lib.sh"
APP=$1
start_x
start_wm
start_tray_host

# These steps are about the tray, not edge docking: the window is moved well clear of the
# screen's edges first, whatever a window manager did with its first place.
start_app_clear() {
    start_app "$1"
    xdotool windowmove "$WIN" 600 300
}

icon_click() { # $1 button
    local geo
    geo=$(xwininfo -root -tree | grep '"Lanternfin": ("lanternfin"' | head -1 | awk '{print $NF}')
    local x y
    x=$(echo "$geo" | cut -d+ -f2)
    y=$(echo "$geo" | cut -d+ -f3)
    xdotool mousemove $((x + 8)) $((y + 8)) click "$1"
    sleep 0.8
}

# 1. The icon, clicks, minimising, the menu.
start_app_clear "$APP"
expect_tray_icons 1 "no tray icon"
icon_click 1
expect_map_state IsUnMapped "a click did not hide the window"
icon_click 1
expect_map_state IsViewable "a second click did not bring the window back"
xdotool windowminimize "$WIN"
expect_map_state IsUnMapped "minimising did not hide the window"
expect_tray_icons 1 "the icon went away on minimising"
icon_click 1
expect_map_state IsViewable "the window did not come back after minimising"
# The menu opened while the window is in the tray, closed without a choice, ends nothing.
icon_click 1
expect_map_state IsUnMapped "a click did not hide the window"
icon_click 3
xdotool key Escape
sleep 0.5
kill -0 "$APP_PID" 2>/dev/null || fail "closing the menu ended the program"
icon_click 1
expect_map_state IsViewable "the window did not come back after the menu"
icon_click 3
xdotool key Up Return   # 退出 is the menu's last item
expect_ended "after 退出 in the menu"
expect_tray_icons 0 "an icon was left after 退出 in the menu"

# 2. 退 出.
start_app_clear "$APP"
read_geometry
text1h=$(( (OH * 15 - 2200 + 7) / 15 ))
click_button $(( (text1h - 24) * 15 )) 1150
expect_ended "after 退 出"
expect_tray_icons 0 "an icon was left after 退 出"

# 3. Closing the window.
start_app_clear "$APP"
xdotool windowactivate --sync "$WIN" key --clearmodifiers alt+F4
expect_ended "after closing the window"
expect_tray_icons 0 "an icon was left after closing the window"
echo "tray e2e passed"
