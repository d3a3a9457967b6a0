#!/usr/bin/env bash
# Cross-validated accuracy of the polyphones' context models on the labelled sentences in
# data/polyphones: the sentences are dealt into K folds (line n into fold n % K); for each fold a
# data file is made from the other K-1 folds (make_pinyin_data --hold-out F/K) and read on that
# fold alone. Reports, over all folds: right with tone, right without tone, and the share a
# context model decided; then the same for the data file without models (no sentences learnt).
# Usage: bench/pinyin_polyphones.sh [BUILD_DIR] [K]   (a build configured with -DLANTERNFIN_BENCH=ON)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
k=${2:-5}
gen="$build/data/make_pinyin_data"
eval="$build/bench/pinyin_polyphones"
sent="$here/../data/polyphones/dev.sent"
lb="$here/../data/polyphones/dev.lb"
for f in "$gen" "$eval" "$build/data/Unihan_Readings.txt" "$build/data/Unihan_Variants.txt"; do
    [ -e "$f" ] || { echo "missing $f: build the targets pinyin_data and pinyin_polyphones first" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_data() { # OUT SENT LB [--hold-out F/K]
    local out=$1 s=$2 l=$3
    shift 3
    "$gen" "$@" "$out" /usr/share/rime-data/terra_pinyin.dict.yaml /usr/share/rime-data/build/terra_pinyin.table.txt \
        "$build/data/Unihan_Readings.txt" "$build/data/Unihan_Variants.txt" \
        /usr/lib/python3/dist-packages/jieba/dict.txt /usr/share/rime-data/pinyin_simp.dict.yaml \
        /usr/share/opencc/t2s.json "$s" "$l" "$here/../data/standard-readings.txt" 2>"$work/log"
}

total=(0 0 0 0)
for ((f = 0; f < k; f++)); do
    make_data "$work/fold$f.dat" "$sent" "$lb" --hold-out "$f/$k"
    read -r n right letters decided < <("$eval" "$work/fold$f.dat" "$sent" "$lb" "$f/$k")
    printf 'fold %d: %d sentences, %.2f%% with tone, %.2f%% without, %.1f%% decided by a model  (%s)\n' \
        "$f" "$n" "$(echo "100 * $right / $n" | bc -l)" "$(echo "100 * $letters / $n" | bc -l)" \
        "$(echo "100 * $decided / $n" | bc -l)" "$(sed -n 's/^make_pinyin_data: //p' "$work/log")"
    total=($((total[0] + n)) $((total[1] + right)) $((total[2] + letters)) $((total[3] + decided)))
done
printf '%d-fold cross-validated: %.2f%% with tone, %.2f%% without tone, %.1f%% decided by a context model\n' \
    "$k" "$(echo "100 * ${total[1]} / ${total[0]}" | bc -l)" "$(echo "100 * ${total[2]} / ${total[0]}" | bc -l)" \
    "$(echo "100 * ${total[3]} / ${total[0]}" | bc -l)"

# Learning nothing from the sentences (no models, no corrected readings): one sentence that
# teaches nothing, its character labelled as it is read.
printf '我▁们▁\n' > "$work/none.sent"
printf 'men5\n' > "$work/none.lb"
make_data "$work/none.dat" "$work/none.sent" "$work/none.lb"
read -r n right letters decided < <("$eval" "$work/none.dat" "$sent" "$lb")
printf 'learning nothing from the sentences: %.2f%% with tone, %.2f%% without tone\n' \
    "$(echo "100 * $right / $n" | bc -l)" "$(echo "100 * $letters / $n" | bc -l)"
