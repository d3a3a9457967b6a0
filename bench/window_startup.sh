#!/usr/bin/env bash
# Start-up to the first paint of the window under Xvfb, beside a minimal Qt window (a text box and
# a dozen buttons) in the same run, with the RSS at that moment. Median of 9 runs each.
# Usage: bench/window_startup.sh [build-dir]
set -euo pipefail
build=${1:-build-bench}
bin="$build/bench/window_bench"
Xvfb :97 -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
trap 'kill $xpid' EXIT
sleep 1
export DISPLAY=:97 QT_QPA_PLATFORM=xcb
measure() { # mode -> "ms rss" lines
    for _ in $(seq 9); do
        s=$(date +%s%N)
        read -r painted rss < <("$bin" "$1" 2>/dev/null)
        echo "$(( (painted - s) / 1000 )) $rss"
    done | sort -n | sed -n 5p
}
read -r lf lrss < <(measure startup)
read -r mn mrss < <(measure startup-minimal)
printf "lanternfin first paint  %6.1f ms   RSS %6.1f MB\n" "$(echo "$lf / 1000" | bc -l)" "$(echo "$lrss / 1024" | bc -l)"
printf "minimal window          %6.1f ms   RSS %6.1f MB\n" "$(echo "$mn / 1000" | bc -l)" "$(echo "$mrss / 1024" | bc -l)"
printf "ratio %.2f\n" "$(echo "$lf / $mn" | bc -l)"
