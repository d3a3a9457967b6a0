#!/usr/bin/env bash
# The real program under Xvfb with openbox: on top of other windows; paste, 大写 and 全部复制
# through mouse clicks and the X clipboard; undo after a paste by Esc; every button in the tab
# order; 退 出 ends it.
. "$(dirname "$0")/lib.sh"
APP=$1
start_x
start_wm
start_app "$APP"

xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the window is not above others"

printf 'hello 世界 abc' | xclip -selection clipboard
sleep 0.3
click_button 3000 1150   # 粘    贴
click_button 600 550     # 大写
click_button 2500 1150   # 全部复制
got=""
for _ in $(seq 150); do
    got=$(xclip -selection clipboard -o 2>/dev/null || true)
    [ "$got" = "HELLO 世界 ABC" ] && break
    sleep 0.1
done
[ "$got" = "HELLO 世界 ABC" ] || fail "clipboard holds '$got'"

clip() { xclip -selection clipboard -o 2>/dev/null || true; }
put() { printf '%s' "$1" | xclip -selection clipboard; }
workspace() { xdotool mousemove $((CX + 40)) $((CY + 40)) click 1; }

# Typing, a paste by Esc, Ctrl+Z: the typing stays (it went with the paste).
click_button 2100 1150   # 清    空
read_geometry
workspace
xdotool type "my notes"
put XYZ
xdotool key Escape ctrl+z
click_button 2500 1150
wait_for_output clip "my notes" "Ctrl+Z after Esc did not bring back the typing: '$(clip)'"

# The tab key from the workspace: 12 stops to a, then b, c, d, 复制, 清 空, 整数, 汉字拼音 (清 空
# and 汉字拼音 were never reached). 清 空 empties the boxes (else the last copy is 508), 汉字拼音
# adds a line.
click_button 2100 1150
put 汉
workspace
xdotool key --delay 15 Escape Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab 2 Tab 4 Tab 3 Tab Tab Tab space \
    Tab Tab space shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab 5 Tab 1 0 Tab 1 Tab Tab space
wait_for_output clip 2 "the keyboard's 5 : 10 = 1 : d copied '$(clip)', not 2"
click_button 2500 1150
[ "$(clip | head -1)" = 汉 ] && [ -n "$(clip | sed -n 2p)" ] || fail "汉字拼音 by the keyboard gave '$(clip)'"

# 退 出: its top follows the workspace's height.
read_geometry
text1h=$(( (OH * 15 - 2200 + 7) / 15 ))
click_button $(( (text1h - 24) * 15 )) 1150
expect_ended "after 退 出"
echo "window e2e passed"
