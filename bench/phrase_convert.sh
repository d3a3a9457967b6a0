#!/usr/bin/env bash
# lanternfin-cli convert -c CONFIG beside opencc -c CONFIG, end to end (process start to exit), on the
# ~10 MB corpus through stdin, in the same run: MB/s, speed ratio, peak RSS, and whether the outputs
# are byte-identical. Both run from an empty folder (opencc looks for dictionaries in the working
# directory first). Best of three runs each (lanternfin-cli with its prepared image), plus
# lanternfin-cli's first run, which builds the image.
# Usage: bench/phrase_convert.sh [build-dir] [config...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
shift || true
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(s2t t2s s2tw s2hk t2tw s2twp tw2sp tw2s hk2s)
cli=$(cd "$build/cli" && pwd)/lanternfin-cli
corpus=$("$here/corpus.sh")
size=$(stat -c %s "$corpus")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/run" "$tmp/cache"
cd "$tmp/run"
export XDG_CACHE_HOME="$tmp/cache"

run() { # out-file cmd... : prints "seconds peak-KB"
    local out=$1; shift
    local s e
    s=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$tmp/rss" "$@" < "$corpus" > "$out"
    e=$(date +%s%N)
    echo "$(echo "($e - $s) / 1000000000" | bc -l) $(cat "$tmp/rss")"
}
mbs() { echo "$size / 1048576 / $1" | bc -l; }

printf "%-6s %12s %10s %12s %10s %8s %10s %10s %s\n" config "opencc MB/s" "RSS KB" "lf MB/s" "RSS KB" ratio "first run" "first RSS" output
for c in "${configs[@]}"; do
    t_oc=999 rss_oc=0
    for _ in 1 2 3; do
        read -r t r < <(run "$tmp/oc.out" opencc -c "$c")
        if (( $(echo "$t < $t_oc" | bc -l) )); then t_oc=$t; fi
        if (( r > rss_oc )); then rss_oc=$r; fi
    done
    read -r t_first rss_first < <(run "$tmp/lf.out" "$cli" convert -c "$c")
    t_lf=999 rss_lf=0
    for _ in 1 2 3; do
        read -r t r < <(run "$tmp/lf.out" "$cli" convert -c "$c")
        if (( $(echo "$t < $t_lf" | bc -l) )); then t_lf=$t; fi
        if (( r > rss_lf )); then rss_lf=$r; fi
    done
    same=$(cmp -s "$tmp/oc.out" "$tmp/lf.out" && echo identical || echo "DIFFERS: $(cmp "$tmp/oc.out" "$tmp/lf.out" 2>&1 | head -1)")
    printf "%-6s %12.1f %10s %12.1f %10s %7.1fx %9.3fs %10s %s\n" "$c" "$(mbs "$t_oc")" "$rss_oc" "$(mbs "$t_lf")" "$rss_lf" \
        "$(echo "$t_oc / $t_lf" | bc -l)" "$t_first" "$rss_first" "$same"
done
