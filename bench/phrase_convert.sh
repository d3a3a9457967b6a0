#!/usr/bin/env bash
# lanternfin-cli convert -c CONFIG beside OpenCC 1.4.1's opencc -c CONFIG.json (the release whose data
# is built in), end to end (process start to exit), on the ~10 MB corpus through stdin, in the same
# run: MB/s, speed ratio against the floor (10x for s2t, s2twp, tw2sp, s2hk; 7x for t2s, t2tw, where
# opencc is close to a plain copy), peak RSS (floor 32 MB), and whether the outputs are
# byte-identical. Both run from an empty folder (opencc looks for dictionaries in the working
# directory first). Best of three runs each, plus lanternfin-cli's first run. A plain copy of the
# input (cat) is timed as the floor of any converter.
# OPENCC_PREFIX: where OpenCC 1.4.1 is installed (bin/opencc, lib/, share/opencc; default
# /work/opencc141/prefix), built from the tag ver.1.4.1 as data/opencc/README.md says.
# Usage: bench/phrase_convert.sh [build-dir] [config...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
shift || true
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(s2t t2s s2twp tw2sp s2hk t2tw s2tw tw2s hk2s s2hkp hk2sp)
prefix=${OPENCC_PREFIX:-/work/opencc141/prefix}
[ -x "$prefix/bin/opencc" ] || { echo "no OpenCC 1.4.1 in $prefix (set OPENCC_PREFIX)" >&2; exit 1; }
opencc() { LD_LIBRARY_PATH="$prefix/lib" "$prefix/bin/opencc" -c "$prefix/share/opencc/$1.json"; }
floor() { case $1 in s2t|s2twp|tw2sp|s2hk) echo 10 ;; t2s|t2tw) echo 7 ;; *) echo - ;; esac; }
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

export -f opencc
export prefix
read -r t_cat _ < <(run "$tmp/cat.out" cat)
echo "plain copy (cat): $(printf %.3f "$t_cat") s for $size bytes"
printf "%-6s %12s %10s %12s %10s %8s %6s %10s %10s %s\n" config "opencc MB/s" "RSS KB" "lf MB/s" "RSS KB" ratio floor "first run" "first RSS" output
for c in "${configs[@]}"; do
    t_oc=999 rss_oc=0
    for _ in 1 2 3; do
        read -r t r < <(run "$tmp/oc.out" bash -c 'opencc "$0"' "$c")
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
    printf "%-6s %12.1f %10s %12.1f %10s %7.1fx %6s %9.3fs %10s %s\n" "$c" "$(mbs "$t_oc")" "$rss_oc" "$(mbs "$t_lf")" "$rss_lf" \
        "$(echo "$t_oc / $t_lf" | bc -l)" "$(floor "$c")x" "$t_first" "$rss_first" "$same"
done
