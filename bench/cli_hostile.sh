#!/usr/bin/env bash
# Every lanternfin-cli command on a 200 MB input (the corpus twenty times): wall time, MB/s and
# peak memory (/usr/bin/time), beside cat.
# Usage: bench/cli_hostile.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
cli="$build/cli/lanternfin-cli"
corpus=$("$here/corpus.sh")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for _ in $(seq 20); do cat "$corpus"; done > "$tmp/big.txt"
size=$(stat -c %s "$tmp/big.txt")
# A calculator line per input line for ratio and round.
tr -c '0-9.\n' '\t' < "$tmp/big.txt" > "$tmp/boxes.txt"
printf "input %.0f MB\n" "$(echo "$size / 1048576" | bc -l)"
run() { # name input command...
    local name=$1 input=$2
    shift 2
    /usr/bin/time -f "%e %M" -o "$tmp/time" "$@" < "$input" > /dev/null 2>"$tmp/err" || true
    read -r secs kb < "$tmp/time"
    printf "%-22s %7.2f s %8.1f MB/s   peak %7.1f MB\n" "$name" "$secs" \
        "$(echo "$size / 1048576 / ($secs + 0.001)" | bc -l)" "$(echo "$kb / 1024" | bc -l)"
}
run cat "$tmp/big.txt" cat
for c in traditional simplified upper lower pinyin money; do run "$c" "$tmp/big.txt" "$cli" "$c"; done
run "traditional --by-character" "$tmp/big.txt" "$cli" traditional --by-character
for c in traditional pinyin money; do run "$c --lines" "$tmp/big.txt" "$cli" "$c" --lines; done
run "ratio --lines" "$tmp/boxes.txt" "$cli" ratio --lines
run "round 2 --lines" "$tmp/boxes.txt" "$cli" round 2 --lines
