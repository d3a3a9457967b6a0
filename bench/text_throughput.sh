#!/usr/bin/env bash
# MB/s, end to end (process start to exit), of lanternfin-cli traditional and simplified
# --by-character (the character tables) and pinyin on
# the ~10 MB corpus, beside cat, the flat-table floor and opencc with a character-only configuration,
# all in the same run. Best of three runs each.
# Usage: bench/text_throughput.sh [build-dir]   (a build configured with -DLANTERNFIN_BENCH=ON)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
cli="$build/cli/lanternfin-cli"
corpus=$("$here/corpus.sh")
size=$(stat -c %s "$corpus")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cat > "$tmp/s2t-chars.json" <<JSON
{ "name": "characters only",
  "segmentation": { "type": "mmseg", "dict": { "type": "ocd2", "file": "/usr/share/opencc/STCharacters.ocd2" } },
  "conversion_chain": [ { "dict": { "type": "ocd2", "file": "/usr/share/opencc/STCharacters.ocd2" } } ] }
JSON

best() { # best wall time in seconds of three runs of "$@" < corpus > $tmp/out
    local b=999 s e t
    for _ in 1 2 3; do
        s=$(date +%s.%N); "$@" < "$corpus" > "$tmp/out"; e=$(date +%s.%N)
        t=$(echo "$e - $s" | bc -l); if (( $(echo "$t < $b" | bc -l) )); then b=$t; fi
    done
    echo "$b"
}
report() { # name seconds
    printf "%-28s %8.3f s %9.1f MB/s\n" "$1" "$2" "$(echo "$size / 1048576 / $2" | bc -l)"
}
t_cat=$(best cat); report cat "$t_cat"
t_floor=$(best "$build/bench/floor_map"); report "floor (flat table)" "$t_floor"; cp "$tmp/out" "$tmp/floor.out"
t_trad=$(best "$cli" traditional --by-character); report "lanternfin-cli traditional -b" "$t_trad"; cp "$tmp/out" "$tmp/trad.out"
t_simp=$(best "$cli" simplified --by-character); report "lanternfin-cli simplified -b" "$t_simp"
t_py=$(best "$cli" pinyin); report "lanternfin-cli pinyin" "$t_py"
t_occ=$(best opencc -c "$tmp/s2t-chars.json"); report "opencc (characters only)" "$t_occ"; cp "$tmp/out" "$tmp/opencc.out"

cmp -s "$tmp/floor.out" "$tmp/trad.out" && echo "traditional output = floor output" || echo "traditional output DIFFERS from floor"
cmp -s "$tmp/opencc.out" "$tmp/trad.out" && echo "traditional output = opencc output" || echo "traditional output differs from opencc: $(cmp "$tmp/opencc.out" "$tmp/trad.out" | head -1)"
echo "ratios: traditional/floor $(echo "$t_trad / $t_floor" | bc -l | cut -c1-5)  simplified/floor $(echo "$t_simp / $t_floor" | bc -l | cut -c1-5)  pinyin/floor $(echo "$t_py / $t_floor" | bc -l | cut -c1-5)"
echo "speed-up over opencc: traditional $(echo "$t_occ / $t_trad" | bc -l | cut -c1-6)x  simplified $(echo "$t_occ / $t_simp" | bc -l | cut -c1-6)x  pinyin $(echo "$t_occ / $t_py" | bc -l | cut -c1-6)x"
