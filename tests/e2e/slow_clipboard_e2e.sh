#!/usr/bin/env bash
# A clipboard owner that never answers (an xclip stopped with SIGSTOP) under Xvfb: a clipboard
# command fails within the instance's limit and changes nothing, while a concurrent start that
# only shows the window is answered at once; with an owner that answers, commands work again.
. "$(dirname "$0")/lib.sh"
APP=$1
start_x
start_wm
export QT_QPA_PLATFORM=xcb

clip() { timeout 10 xclip -selection clipboard -o 2>/dev/null || true; }
now_ms() { date +%s%3N; }

start_app "$APP"
xdotool windowmove "$WIN" 600 300

# The owner: xclip in the foreground (-quiet) serves the clipboard until stopped.
printf 'abc' | xclip -selection clipboard -quiet >/dev/null 2>&1 &
OWNER=$!
E2E_PIDS+=($OWNER)
# A stopped process takes no SIGTERM: let it go on before the cleanup ends it.
trap 'kill -CONT "$OWNER" 2>/dev/null || true; cleanup' EXIT
wait_for_output clip abc "xclip did not take the clipboard"
kill -STOP "$OWNER"

ERR=$(mktemp)
E2E_FILES+=("$ERR")
start=$(now_ms)
RC=0
"$APP" --clipboard upper 2>"$ERR" &
CLIENT=$!
E2E_PIDS+=($CLIENT)
sleep 0.5
# Meanwhile the window answers: a start that shows it returns at once.
xdotool windowminimize "$WIN"
expect_map_state IsUnMapped "minimising did not hide the window"
show_start=$(now_ms)
"$APP" --show || fail "--show failed while a clipboard command waited on a silent owner"
show_ms=$(($(now_ms) - show_start))
[ "$show_ms" -lt 1500 ] || fail "--show took $show_ms ms while a clipboard command waited"
expect_map_state IsViewable "--show did not bring the window back"

wait "$CLIENT" || RC=$?
took=$(($(now_ms) - start))
[ "$RC" = 1 ] || fail "--clipboard upper with a silent owner exited $RC: $(cat "$ERR")"
grep -q "does not answer" "$ERR" || fail "the failure does not say why: $(cat "$ERR")"
# The limit is the instance's (30 s); Qt gives up on a silent owner after about 5 s.
[ "$took" -lt 32000 ] || fail "--clipboard upper took $took ms"

# The owner goes on: the instance never took the clipboard over. (xclip then ends on the requests
# of readers that have gone meanwhile, so the clipboard may be empty, never converted.)
kill -CONT "$OWNER"
sleep 0.5
[ "$(clip)" != ABC ] || fail "the clipboard was converted although the command failed"
# With an owner that answers, a command works again.
printf 'abc' | xclip -selection clipboard
wait_for_output clip abc "xclip did not take the clipboard again"
"$APP" --clipboard upper 2>"$ERR" || fail "--clipboard upper exit $?: $(cat "$ERR")"
wait_for_output clip ABC "--clipboard upper did not convert once the owner answered: '$(clip)'"
"$APP" --quit
expect_ended "--quit"
echo "slow clipboard e2e passed (the silent owner's command failed after $took ms, --show took $show_ms ms)"
