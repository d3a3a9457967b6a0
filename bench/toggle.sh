#!/usr/bin/env bash
# `lanternfin --toggle` against a running instance under Xvfb with openbox and trayer: the time
# from starting the command to its exit (the instance has hidden or shown its window by then),
# beside `lanternfin --version` (start-up of the program without a socket) and /bin/true.
# Uses hyperfine when it is installed, else a loop (median of 51).
# Usage: bench/toggle.sh [build-dir]
set -euo pipefail
build=${1:-build}
app=$(realpath "$build/app/lanternfin")
runtime=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$runtime"' EXIT
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
pids+=($!)
read -r display <"$fifo"
rm -f "$fifo"
export DISPLAY=":$display" XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
pids+=($!)
trayer --edge bottom --align right --widthtype pixel --width 100 --height 24 >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$app" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [ -S "$runtime/$(ls "$runtime" 2>/dev/null | grep -v lock | head -1)" ] && break
    sleep 0.1
done
sleep 1

if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 5 --runs 100 "$app --toggle" "$app --version" "/bin/true" 2>&1 |
        grep -E "Benchmark|Time|Range"
else
    median() { # command... -> median ms of 51 runs
        for _ in $(seq 51); do
            s=$(date +%s%N)
            "$@" >/dev/null
            echo $((($(date +%s%N) - s) / 1000))
        done | sort -n | sed -n 26p | awk '{printf "%.1f ms\n", $1 / 1000}'
    }
    echo "lanternfin --toggle   $(median "$app" --toggle)"
    echo "lanternfin --version  $(median "$app" --version)"
    echo "/bin/true             $(median /bin/true)"
fi
"$app" --quit
