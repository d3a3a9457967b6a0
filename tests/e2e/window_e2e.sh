#!/usr/bin/env bash
# The real program under Xvfb with openbox: on top of other windows; paste, 大写 and 全部复制
# through mouse clicks and the X clipboard; 退 出 ends it.
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

# 退 出: its top follows the workspace's height.
read_geometry
text1h=$(( (OH * 15 - 2200 + 7) / 15 ))
click_button $(( (text1h - 24) * 15 )) 1150
expect_ended "after 退 出"
echo "window e2e passed"
