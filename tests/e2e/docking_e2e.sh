#!/usr/bin/env bash
# Edge docking under window manager $2 (none, openbox or xfwm4): a window pushed against the top,
# left or right edge hides when the mouse leaves it, leaving a strip of 3 px (50 twips at 96 DPI)
# and nothing else of it on the screen, and comes back whole, above others and as focused as it
# was, when the mouse touches that edge along it. The screenshot of each hidden state is kept in
# $3 (docking-<wm>-<edge>.png).
. "$(dirname "$0")/lib.sh"
APP=$1
WM=${2:-none}
SHOTS=${3:-$(mktemp -d)}
mkdir -p "$SHOTS"
SHOT=$(mktemp --suffix=.png)
E2E_FILES=("$SHOT")

start_x
[ "$WM" = none ] || start_wm "$WM"
start_app "$APP"
read_geometry
echo "outer ${OW}x${OH} frame $FL,$FR,$FT,$FB" >&2
# The mouse rests on the window, so that it stays where it is until a step moves it to an edge.
xdotool mousemove $((CX + 40)) $((CY + 40))

# The box around everything drawn on the (black) screen: sets DW DH DX DY.
drawn() {
    import -window root "$SHOT"
    read -r DW DH DX DY < <(convert "$SHOT" -fuzz 2% -trim -format '%w %h %X %Y\n' info: | tr -d '+')
}
near() { [ $(($1 - $2)) -le 1 ] && [ $(($2 - $1)) -le 1 ]; } # within one pixel
# Takes screenshots for up to 15 s until check $1 holds for the box, else fails with $2.
wait_drawn() {
    for _ in $(seq 40); do
        drawn
        $1 && { echo "$1: ${DW}x${DH} at $DX,$DY" >&2; return 0; }
        sleep 0.1
    done
    fail "$2 (drawn: ${DW}x${DH} at $DX,$DY; window $(map_state))"
}
active() { xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | sed -n 's/.*# //p' | cut -d, -f1; }
strip_3px() { [ "$1" -ge 2 ] && [ "$1" -le 4 ]; }

hidden_top() { strip_3px "$DH" && [ "$DY" = 0 ] && near "$DW" "$OW"; }
hidden_left() { strip_3px "$DW" && [ "$DX" = 0 ] && near "$DH" "$OH"; }
hidden_right() { strip_3px "$DW" && [ $((DX + DW)) = 1920 ] && near "$DH" "$OH"; }
shown_top() { near "$DW" "$OW" && near "$DH" "$OH" && [ "$DY" = 0 ]; }
shown_left() { near "$DW" "$OW" && near "$DH" "$OH" && [ "$DX" = 0 ]; }
shown_right() { near "$DW" "$OW" && near "$DH" "$OH" && [ $((DX + DW)) = 1920 ]; }

# $1 edge, $2 $3 where the window's client goes (xdotool), run with the mouse away from it.
dock() {
    local edge=$1 before
    before=$(active)
    echo "$edge: active window before hiding: ${before:-none}" >&2
    xdotool windowmove "$WIN" "$2" "$3"
    xdotool mousemove 960 900
    wait_drawn "hidden_$edge" "not hidden at the $edge edge under $WM"
    cp "$SHOT" "$SHOTS/docking-$WM-$edge.png"
    [ "$(map_state)" = IsUnMapped ] || fail "the window itself is still shown at the $edge edge"
    # The strip never takes the keyboard focus (none, or "PointerRoot", is fine).
    local strip focus
    strip=$(xdotool search --name '^Lanternfin dock strip$' | head -1)
    [ -n "$strip" ] || fail "no strip window at the $edge edge"
    focus=$(xdotool getwindowfocus 2>/dev/null || true)
    [ "$focus" != "$strip" ] || fail "the strip has the keyboard focus at the $edge edge"
    if [ "$WM" != none ]; then
        # The strip never becomes the active window.
        local now
        now=$(active)
        [ -z "$now" ] || [ "$now" = 0x0 ] || [ "$((now))" = "$WIN" ] || fail "another window is active: $now"
    fi
    # Touching the screen edge along the strip brings the window back.
    case $edge in
    top) xdotool mousemove $((DX + DW / 2)) 1 ;;
    left) xdotool mousemove 1 $((DY + DH / 2)) ;;
    right) xdotool mousemove 1919 $((DY + DH / 2)) ;;
    esac
    wait_drawn "shown_$edge" "not back at the $edge edge under $WM"
    expect_map_state IsViewable "the window is not mapped after coming back at the $edge edge"
    if [ "$WM" != none ]; then
        xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "not above others after the $edge edge"
        [ "$(active)" = "$before" ] || fail "focus changed across hiding at the $edge edge: $before -> $(active)"
    fi
}

# A client placed so that its frame sticks out a pixel or two over the edge (a window manager may
# keep the frame's top on the screen: that is docked as well).
dock top 700 0
dock left 0 300
dock right $((1920 - OW + FL + 2)) 300

# A click on the tray icon brings back a window hidden at an edge, at that edge (the tray host
# is started only now: it would show in the screenshots).
start_tray_host
expect_tray_icons 1 "no tray icon"
xdotool windowmove "$WIN" 700 0
xdotool mousemove 960 900
expect_map_state IsUnMapped "not hidden at the top edge before the tray click"
geo=$(xwininfo -root -tree | grep '"Lanternfin": ("lanternfin"' | head -1 | awk '{print $NF}')
xdotool mousemove $(($(echo "$geo" | cut -d+ -f2) + 8)) $(($(echo "$geo" | cut -d+ -f3) + 8)) click 1
expect_map_state IsViewable "a tray click did not bring back the window hidden at the top"
read_geometry
[ $((CY - FT)) = 0 ] || fail "back from the tray at y = $((CY - FT)), not at the top edge"
echo "docking e2e under $WM passed"
