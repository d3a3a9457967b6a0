#!/usr/bin/env bash
# Makes docs/screenshot.png, the picture in the README and the AppStream metainfo: the real window
# under Xvfb with openbox and the Noto CJK fonts, holding a sample text and its pinyin, and the
# calculator with 4 : 1 = -5 : d. Usage: scripts/screenshot.sh [path of the lanternfin program]
cd "$(dirname "$0")/.."
app=${1:-build/app/lanternfin}
if [ ! -x "$app" ]; then
    echo "screenshot.sh: no $app; build first (./run.sh or cmake --build build)" >&2
    exit 1
fi
# The Xvfb, window manager and waiting helpers of the end-to-end tests; they stop what they start.
. tests/e2e/lib.sh

start_x
start_wm
start_app "$app"

printf '%s\n%s' '今天下午三点在会议室开会。' '请带上发票，金额 1005.5 元。' | xclip -selection clipboard
sleep 0.3
click_button 3000 1150 # 粘    贴
click_button 1680 1150 # 汉字拼音

# The calculator's boxes a, b and c (twips inside the frame 比例三求一, 15 twips a pixel).
read_geometry
frame_top=$((OH * 15 - 2000)) # the window's height in the layout includes its frame
type_in_box() {
    xdotool mousemove $((CX + ($1 + 100 + 600) / 15)) $((CY + (frame_top + $2 + 190) / 15)) click 1
    xdotool type --delay 50 -- "$3"
}
type_in_box 120 360 4
type_in_box 1680 360 1
type_in_box 120 840 -5
sleep 0.5

import -window "$WIN" -frame png:- | convert png:- -strip docs/screenshot.png
echo "screenshot.sh: docs/screenshot.png $(identify -format '%wx%h' docs/screenshot.png)"
