#!/usr/bin/env bash
# Time of `lanternfin-cli money --lines` over 1,000,000 random amounts, and of `money --decode --lines`
# over their capitals, each beside `cat` of the same file.
# Usage: bench/cli_money.sh [build-dir]
set -euo pipefail
build=${1:-build-bench}
cli="$build/cli/lanternfin-cli"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 - "$tmp/amounts.txt" <<'PY'
import random, sys
random.seed(7)
with open(sys.argv[1], "w") as f:
    for _ in range(1_000_000):
        f.write(f"{random.randint(0, 10**random.randint(1, 16) - 1)}.{random.randint(0, 99):02d}\n")
PY
t() { local s e; s=$(date +%s.%N); "$@" >/dev/null; e=$(date +%s.%N); echo "$e - $s" | bc; }
echo "cat:                 $(t cat "$tmp/amounts.txt") s"
echo "money --lines (1M):  $(t sh -c "$cli money --lines < $tmp/amounts.txt") s"
"$cli" money --lines <"$tmp/amounts.txt" >"$tmp/capitals.txt"
echo "cat of the capitals: $(t cat "$tmp/capitals.txt") s"
echo "money --decode --lines (1M): $(t sh -c "$cli money --decode --lines < $tmp/capitals.txt") s"
# Every line must read back as the amount it was written from.
"$cli" money --decode --lines <"$tmp/capitals.txt" | cmp - "$tmp/amounts.txt" >/dev/null &&
    echo "all 1M capitals read back to their amounts" || echo "MISMATCH between the amounts and the capitals read back"
