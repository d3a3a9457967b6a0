#!/usr/bin/env bash
# Cross-validated accuracy of the polyphones' context models on the labelled sentences the data
# file learns from: data/polyphones (encyclopedic) and data/polyphones-web (everyday web text),
# taken together in that order as the build takes them. Line n of the whole goes into fold n % K;
# for each fold a data file is made from the other K-1 folds (make_pinyin_data --hold-out F/K) and
# read on that fold alone; every fold also learns from data/polyphones-fields as the build does
# (never measured here; FIELDS=none leaves them out, FIELDS=FILE learns from FILE instead). Reports, for each set and for both together:
# right with tone, right without tone, and the share a context model decided; then the same for the
# data file without models (no sentences learnt).
# Usage: bench/pinyin_polyphones.sh [BUILD_DIR] [K]   (a build configured with -DLANTERNFIN_BENCH=ON)
# ONLY=encyclopedic or ONLY=web learns from and reads that set alone.
# SHUFFLE=N (a number) first shuffles each set's sentences of one character among themselves, by
# seed N, so that the folds are others of the same make (each character's sentences spread evenly).
# The folds of the files' own order are the ones the rules and words were mended on, and read a
# quarter of a point better than fresh folds do: judge a change on fresh ones.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
k=${2:-5}
gen="$build/data/make_pinyin_data"
eval="$build/bench/pinyin_polyphones"
data="$here/../data"
names=(encyclopedic web)
sents=("$data/polyphones/dev.sent" "$data/polyphones-web/train.sent $data/polyphones-web/dev.sent")
lbs=("$data/polyphones/dev.lb" "$data/polyphones-web/train.lb $data/polyphones-web/dev.lb")
for f in "$gen" "$eval" "$build/data/Unihan_Readings.txt" "$build/data/Unihan_Variants.txt"; do
    [ -e "$f" ] || { echo "missing $f: build the targets pinyin_data and pinyin_polyphones first" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sets in the build's order, and where each starts among the lines of the whole.
offsets=()
: > "$work/all.sent"
: > "$work/all.lb"
used=()
for i in "${!names[@]}"; do
    [ -z "${ONLY:-}" ] || [ "$ONLY" = "${names[$i]}" ] || continue
    used+=("$i")
    offsets[$i]=$(wc -l < "$work/all.sent")
    # shellcheck disable=SC2086
    cat ${sents[$i]} > "$work/set$i.sent"
    # shellcheck disable=SC2086
    cat ${lbs[$i]} > "$work/set$i.lb"
    if [ -n "${SHUFFLE:-}" ]; then
        python3 - "$SHUFFLE" "$work/set$i.sent" "$work/set$i.lb" <<'PY'
import random, sys
seed, sent, lb = int(sys.argv[1]), sys.argv[2], sys.argv[3]
def read(path):
    text = open(path, encoding='utf-8').read()
    return text[:-1].split('\n') if text.endswith('\n') else text.split('\n')
lines = list(zip(read(sent), read(lb)))
rng = random.Random(seed)
def marked(line):
    at = line[0].find('\u2581')
    return line[0][at + 1] if at >= 0 and at + 1 < len(line[0]) else ''
out, run = [], []
for line in lines + [None]:
    if run and (line is None or marked(line) != marked(run[-1])):
        rng.shuffle(run)
        out += run
        run = []
    if line is not None:
        run.append(line)
with open(sent, 'w', encoding='utf-8') as s, open(lb, 'w', encoding='utf-8') as l:
    for a, b in out:
        s.write(a + '\n')
        l.write(b + '\n')
PY
    fi
    cat "$work/set$i.sent" >> "$work/all.sent"
    cat "$work/set$i.lb" >> "$work/all.lb"
done

fields=$here/../data/polyphones-fields/sentences.tsv
if [ "${FIELDS:-}" = none ]; then
    fields=$work/no-fields.tsv
    : > "$fields"
elif [ -n "${FIELDS:-}" ]; then
    fields=$FIELDS
fi
make_data() { # OUT SENT LB [--hold-out F/K]
    local out=$1 s=$2 l=$3
    shift 3
    "$gen" "$@" "$out" /usr/share/rime-data/terra_pinyin.dict.yaml /usr/share/rime-data/build/terra_pinyin.table.txt \
        "$build/data/Unihan_Readings.txt" "$build/data/Unihan_Variants.txt" \
        /usr/lib/python3/dist-packages/jieba/dict.txt /usr/share/rime-data/pinyin_simp.dict.yaml \
        /usr/share/opencc/t2s.json "$s" "$l" "${STANDARD_READINGS:-$here/../data/standard-readings.txt}" "$fields" 2>"$work/log"
}

report() { # NAME N RIGHT LETTERS DECIDED
    printf '%-13s %6d sentences: %.2f%% with tone, %.2f%% without tone, %.1f%% decided by a context model\n' \
        "$1" "$2" "$(echo "100 * $3 / $2" | bc -l)" "$(echo "100 * $4 / $2" | bc -l)" "$(echo "100 * $5 / $2" | bc -l)"
}

declare -A total
for key in n right letters decided; do
    for i in "${used[@]}" all; do total[$key$i]=0; done
done
for ((f = 0; f < k; f++)); do
    make_data "$work/fold$f.dat" "$work/all.sent" "$work/all.lb" --hold-out "$f/$k"
    echo "fold $f: $(sed -n 's/^make_pinyin_data: //p' "$work/log")"
    for i in "${used[@]}"; do
        read -r n right letters decided < <("$eval" "$work/fold$f.dat" "$work/set$i.sent" "$work/set$i.lb" "$f/$k" "${offsets[$i]}" | tee -a "${MISSES:-/dev/null}" | tail -1)
        for key in n right letters decided; do
            total[$key$i]=$((total[$key$i] + ${!key}))
            total[${key}all]=$((total[${key}all] + ${!key}))
        done
    done
done
echo "$k-fold cross-validated:"
for i in "${used[@]}"; do
    report "${names[$i]}" "${total[n$i]}" "${total[right$i]}" "${total[letters$i]}" "${total[decided$i]}"
done
report together "${total[nall]}" "${total[rightall]}" "${total[lettersall]}" "${total[decidedall]}"

# Learning nothing from the sentences (no models, no corrected readings): one sentence that
# teaches nothing, its character labelled as it is read, and no fields.
printf '我▁们▁\n' > "$work/none.sent"
printf 'men5\n' > "$work/none.lb"
fields=$work/no-fields.tsv
: > "$fields"
make_data "$work/none.dat" "$work/none.sent" "$work/none.lb"
echo "learning nothing from the sentences:"
for i in "${used[@]}"; do
    read -r n right letters decided < <(SHOW_MISSES= "$eval" "$work/none.dat" "$work/set$i.sent" "$work/set$i.lb" | tail -1)
    report "${names[$i]}" "$n" "$right" "$letters" "$decided"
done
