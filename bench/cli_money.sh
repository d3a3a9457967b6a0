#!/usr/bin/env bash
# Time of `lanternfin-cli money --lines` over 1,000,000 random amounts, beside `cat` of the same file.
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
