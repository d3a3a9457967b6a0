#!/usr/bin/env bash
# One instance per display under Xvfb with openbox and trayer: a second start raises the window
# and leaves one window and one icon; --toggle, --clipboard (the result outlives the command),
# the tray menu's clipboard and autostart items, --quit; a conversion with no instance running,
# starts at the same moment, a socket left by a crash and a hung instance.
. "$(dirname "$0")/lib.sh"
APP=$1
start_x
start_wm
start_tray_host
XDG_RUNTIME_DIR=$(mktemp -d)
XDG_CONFIG_HOME=$(mktemp -d)
XDG_CACHE_HOME=$(mktemp -d)
export XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_CACHE_HOME QT_QPA_PLATFORM=xcb
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"' EXIT
ENTRY=$XDG_CONFIG_HOME/autostart/lanternfin.desktop

# The program's processes of this test (other tests may run the program at the same time).
our_pids() {
    local p
    for p in $(pgrep -x lanternfin || true); do
        { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" && echo "$p"
    done
    true
}
instances() { our_pids | wc -l; }
windows() { (xdotool search --name "^Lanternfin 2011$" 2>/dev/null || true) | wc -l; }
clip() { xclip -selection clipboard -o 2>/dev/null || true; }
set_clip() { printf '%s' "$1" | xclip -selection clipboard; sleep 0.2; }
# Windows of the program on screen: the window, the icon, and each open menu.
shown_windows() { (xdotool search --onlyvisible --class lanternfin 2>/dev/null || true) | wc -l; }
# Opens the icon's menu, and its submenu 剪贴板 with `sub`; then types keys $2... and waits until
# the menu has closed.
icon_menu() {
    local base geo x y
    base=$(shown_windows)
    geo=$(xwininfo -root -tree | grep '"Lanternfin": ("lanternfin"' | head -1 | awk '{print $NF}')
    x=$(echo "$geo" | cut -d+ -f2)
    y=$(echo "$geo" | cut -d+ -f3)
    # A click that comes right after a menu has closed is sometimes lost: click again then.
    for _ in 1 2 3; do
        xdotool mousemove $((x + 8)) $((y + 8)) click 3
        for _ in $(seq 20); do
            [ "$(shown_windows)" = $((base + 1)) ] && break 2
            sleep 0.1
        done
    done
    [ "$(shown_windows)" = $((base + 1)) ] || fail "the menu did not open ($*)"
    if [ "$1" = sub ]; then
        xdotool key Down Right
        wait_for_output shown_windows $((base + 2)) "the submenu 剪贴板 did not open"
    fi
    shift
    xdotool key "$@"
    wait_for_output shown_windows "$base" "the menu did not close"
}
expect_clip() { wait_for_output clip "$1" "$2"; }
entry_state() { if [ -e "$ENTRY" ]; then echo there; else echo gone; fi; }
entry_text() { cat "$ENTRY" 2>/dev/null || true; }
run() { # runs the program with $@, sets RC and ERR
    ERR=$(mktemp)
    RC=0
    "$APP" "$@" 2>"$ERR" || RC=$?
}

# 1. A second start: the window comes back from the tray, raised and active; one of everything.
start_app "$APP"
# Clear of the screen edges, where docking would hide it while the mouse is over the tray.
xdotool windowmove "$WIN" 600 300
expect_tray_icons 1 "no tray icon"
run --toggle
[ "$RC" = 0 ] || fail "--toggle exit $RC"
expect_map_state IsUnMapped "--toggle did not hide the window"
run --toggle
expect_map_state IsViewable "--toggle did not show the window again"
xdotool windowminimize "$WIN"
expect_map_state IsUnMapped "minimising did not hide the window"
run
[ "$RC" = 0 ] || fail "a second start exited $RC"
expect_map_state IsViewable "a second start did not bring the window back"
wait_for_output "xdotool getactivewindow" "$WIN" "the window was not raised and activated"
[ "$(windows)" = 1 ] || fail "$(windows) windows after a second start"
[ "$(instances)" = 1 ] || fail "$(instances) processes after a second start"
expect_tray_icons 1 "not one tray icon after a second start"

# 2. --clipboard: converted by the running instance, readable after the command has returned.
set_clip "简体"
run --clipboard traditional
[ "$RC" = 0 ] || fail "--clipboard traditional exit $RC: $(cat "$ERR")"
expect_clip "簡體" "the clipboard holds '$(clip)' after --clipboard traditional"
run --clipboard restore
[ "$RC" = 0 ] || fail "--clipboard restore exit $RC"
expect_clip "简体" "the clipboard holds '$(clip)' after --clipboard restore"
set_clip "10000000000000000"
run --clipboard money
[ "$RC" = 1 ] || fail "an amount too large exited $RC"
grep -q "too large" "$ERR" || fail "no message for an amount too large: $(cat "$ERR")"
[ "$(clip)" = "10000000000000000" ] || fail "a refused amount changed the clipboard to '$(clip)'"
run --clipboard nonsense
[ "$RC" = 2 ] || fail "an unknown clipboard command exited $RC"
# The buttons' other ways by name; a configuration that cannot be loaded changes nothing.
set_clip "软件"
run --clipboard convert:s2twp
[ "$RC" = 0 ] || fail "--clipboard convert:s2twp exit $RC: $(cat "$ERR")"
expect_clip "軟體" "the clipboard holds '$(clip)' after --clipboard convert:s2twp"
set_clip "汉字"
run --clipboard pinyin:numbers
[ "$RC" = 0 ] || fail "--clipboard pinyin:numbers exit $RC: $(cat "$ERR")"
expect_clip "$(printf '汉字\nhan4 zi4')" "the clipboard holds '$(clip)' after --clipboard pinyin:numbers"
run --clipboard convert:nosuchconfig
[ "$RC" = 1 ] || fail "a configuration that is not there exited $RC"
grep -q "cannot load .*/nosuchconfig.json" "$ERR" || fail "no message for a missing configuration: $(cat "$ERR")"
[ "$(clip)" = "$(printf '汉字\nhan4 zi4')" ] || fail "a missing configuration changed the clipboard to '$(clip)'"
run --clipboard pinyin:tones
[ "$RC" = 2 ] || fail "an unknown pinyin way exited $RC"

# 3. The tray menu: 剪贴板 > 繁体, then 剪贴板 > 还原剪贴板 (the submenu's last item).
set_clip "简体"
icon_menu sub Return
expect_clip "簡體" "the menu's 繁体 left '$(clip)' on the clipboard"
icon_menu sub Up Return
expect_clip "简体" "the menu's 还原剪贴板 left '$(clip)' on the clipboard"

# 4. 登录时启动 writes the autostart entry, a second click removes it. Its Exec line names the
# running program by its path unless `lanternfin` on PATH is that program.
PROGRAM=$(readlink -f "$APP")
[ "$(readlink -f "$(command -v lanternfin || true)" 2>/dev/null)" = "$PROGRAM" ] && PROGRAM=lanternfin
icon_menu top Down Down Return
wait_for_output entry_text "$(printf '[Desktop Entry]\nType=Application\nName=Lanternfin\nComment=Chinese office text tools in the notification area\nExec=%s --tray\nIcon=lanternfin\nTerminal=false\nX-GNOME-Autostart-enabled=true' "$PROGRAM")" \
    "no autostart entry after 登录时启动"
icon_menu top Down Down Return
wait_for_output entry_state gone "the autostart entry is still there"

# 5. --quit ends the program and leaves no icon and no socket.
run --quit
[ "$RC" = 0 ] || fail "--quit exit $RC"
expect_ended "after --quit"
expect_tray_icons 0 "an icon was left after --quit"
runtime_files() { ls "$XDG_RUNTIME_DIR"; }
wait_for_output runtime_files "" "files left in the runtime folder: $(ls "$XDG_RUNTIME_DIR")"
run --quit
[ "$RC" = 0 ] || fail "--quit with nothing running exited $RC"

# 6. A conversion with nothing running starts the program in the tray, which keeps the clipboard.
set_clip "Abc"
run --clipboard upper
[ "$RC" = 0 ] || fail "--clipboard upper without an instance exit $RC: $(cat "$ERR")"
expect_clip "ABC" "the clipboard holds '$(clip)' after --clipboard upper without an instance"
expect_tray_icons 1 "the program started for the clipboard has no icon"
[ "$(instances)" = 1 ] || fail "$(instances) processes after a conversion without an instance"
[ "$(windows)" = 0 ] || fail "the program started for the clipboard shows its window"
run --quit
wait_for_output instances 0 "the program did not end"

# 7. Starts at the same moment: one instance.
for _ in 1 2 3; do "$APP" >/dev/null 2>&1 & done
wait_for_output windows 1 "not one window after three starts at once"
sleep 1
[ "$(instances)" = 1 ] || fail "$(instances) processes after three starts at once"
expect_tray_icons 1 "not one icon after three starts at once"

# 8. A hung instance: the next start says so within about 2 s and starts nothing.
pid=$(our_pids | head -1)
kill -STOP "$pid"
s=$(date +%s%N)
run --toggle
took=$((($(date +%s%N) - s) / 1000000))
kill -CONT "$pid"
[ "$RC" = 1 ] || fail "a hung instance gave exit $RC"
grep -q "does not answer" "$ERR" || fail "no message for a hung instance: $(cat "$ERR")"
[ "$took" -lt 3000 ] || fail "waited $took ms for a hung instance"
[ "$(instances)" = 1 ] || fail "a second instance started beside a hung one"

# 9. A crash leaves the socket behind; the next start removes it and runs.
kill -KILL "$pid"
expect_tray_icons 0 "the icon of the killed program stayed"
[ -S "$XDG_RUNTIME_DIR/$(ls "$XDG_RUNTIME_DIR" | head -1)" ] || fail "no socket left by the crash"
start_app "$APP"
expect_tray_icons 1 "no icon after a start over a stale socket"
run --quit
expect_ended "after --quit"
# 10. No runtime folder: the socket goes to a private folder in the shared temporary folder, and
# files a neighbour planted where the socket and its lock used to be stop nothing.
SHARED=$(mktemp -d)
chmod 1777 "$SHARED"
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$SHARED"' EXIT
OLD=$SHARED/lanternfin-$(id -u)-$(printf '%s' "$DISPLAY" | tr -c 'A-Za-z0-9._-' _)
echo planted >"$OLD"
printf '1\nhost\napp\n' >"$OLD.lock"
no_runtime() { env -u XDG_RUNTIME_DIR TMPDIR="$SHARED" "$APP" "$@"; }
no_runtime --tray >/dev/null 2>&1 &
E2E_PIDS+=($!)
private_socket() { [ -S "$SHARED/lanternfin-$(id -u)/$(basename "$OLD")" ] && stat -c %a "$SHARED/lanternfin-$(id -u)"; }
wait_for_output private_socket 700 "no socket in a private folder without a runtime folder: $(ls -la "$SHARED")"
RC=0
no_runtime --quit 2>"$ERR" || RC=$?
[ "$RC" = 0 ] || fail "--quit without a runtime folder exit $RC: $(cat "$ERR")"
gone() { [ -S "$SHARED/lanternfin-$(id -u)/$(basename "$OLD")" ] && echo there || echo gone; }
wait_for_output gone gone "the instance without a runtime folder did not end"
[ "$(cat "$OLD")" = planted ] || fail "the planted file was touched"

echo "instance e2e passed (a hung instance answered in $took ms)"
