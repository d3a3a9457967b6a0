#!/usr/bin/env bash
# What one call of lanternfin-cli costs before its input: the mean wall and CPU time of 100 calls of
# each of a few ways on one short line, the time a shell loop over files pays per file. Give two
# builds to compare them, calls alternating.
# Usage: bench/cli_startup.sh [build-dir] [other-build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
builds=("${1:-$here/../build}")
[ $# -ge 2 ] && builds+=("$2")
calls=100
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echo '汉字转换 money 1005.5' > "$tmp/line.txt"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; $calls calls each"
for way in "upper" "traditional" "convert -c s2twp" "pinyin --tone numbers"; do
    declare -A wall=() cpu=()
    for b in "${builds[@]}"; do wall[$b]=0; cpu[$b]=0; done
    for ((i = 0; i < calls; ++i)); do
        for b in "${builds[@]}"; do
            s=$(date +%s%N)
            # shellcheck disable=SC2086 # the way is words
            /usr/bin/time -f '%U %S' -o "$tmp/time" "$b/cli/lanternfin-cli" $way "$tmp/line.txt" >/dev/null
            e=$(date +%s%N)
            read -r u sy < "$tmp/time"
            wall[$b]=$((wall[$b] + e - s))
            cpu[$b]=$(echo "${cpu[$b]} + $u + $sy" | bc -l)
        done
    done
    for b in "${builds[@]}"; do
        printf "%-24s %-40s %6.1f ms wall, %5.1f ms CPU per call\n" "$way" "$b" \
            "$(echo "${wall[$b]} / $calls / 1000000" | bc -l)" "$(echo "${cpu[$b]} * 1000 / $calls" | bc -l)"
    done
done
