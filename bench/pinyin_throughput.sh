#!/usr/bin/env bash
# MB/s and peak memory, end to end (process start to exit), of `lanternfin-cli pinyin --tone
# numbers` (the reading engine) and of `pinyin` (the window's capitalised pinyin) on the ~10 MB
# corpus, beside cat, best of three runs each; then the data file's size and a cold load.
# Usage: bench/pinyin_throughput.sh [build-dir]   (a build configured with -DLANTERNFIN_BENCH=ON)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
cli="$build/cli/lanternfin-cli"
corpus=$("$here/corpus.sh")
size=$(stat -c %s "$corpus")
data="$build/data/pinyin.dat"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

best() { # best wall time in seconds of three runs of "$@" < corpus, its CPU time (user + system)
          # and peak RSS: on a shared machine the CPU time shows the program's own cost
    local b=999 cpu=0 rss=0 s e t
    for _ in 1 2 3; do
        s=$(date +%s.%N)
        /usr/bin/time -f '%U %S %M' -o "$tmp/time" "$@" < "$corpus" > "$tmp/out"
        e=$(date +%s.%N)
        t=$(echo "$e - $s" | bc -l)
        if (( $(echo "$t < $b" | bc -l) )); then
            b=$t
            read -r u sy rss < "$tmp/time"
            cpu=$(echo "$u + $sy" | bc -l)
        fi
    done
    echo "$b $cpu $rss"
}
report() { # name seconds cpu-seconds rss-kB floor
    printf "%-36s %7.3f s %7.1f MB/s (CPU %5.2f s, %6.1f MB/s)  peak RSS %5.1f MB  %s\n" "$1" "$2" \
        "$(echo "$size / 1048576 / $2" | bc -l)" "$3" "$(echo "$size / 1048576 / ($3 + 0.005)" | bc -l)" \
        "$(echo "$4 / 1024" | bc -l)" "$5"
}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
read -r t cpu rss < <(best cat); report cat "$t" "$cpu" "$rss" ""
read -r t cpu rss < <(best "$cli" pinyin --tone numbers)
report "lanternfin-cli pinyin --tone numbers" "$t" "$cpu" "$rss" "(floor 50 MB/s, 64 MB)"
read -r t cpu rss < <(best "$cli" pinyin --tone marks); report "lanternfin-cli pinyin --tone marks" "$t" "$cpu" "$rss" ""
read -r t cpu rss < <(best "$cli" pinyin); report "lanternfin-cli pinyin (capitalised)" "$t" "$cpu" "$rss" ""
echo "data file: $data $(stat -c %s "$data") bytes"
# Load time: the first mapping and check after dropping the file from the page cache where allowed.
sync; (echo 1 > /proc/sys/vm/drop_caches) 2>/dev/null || true
s=$(date +%s.%N); echo 汉 | "$cli" pinyin --tone numbers > /dev/null; e=$(date +%s.%N)
printf "one character, cold data file, whole process: %.1f ms\n" "$(echo "($e - $s) * 1000" | bc -l)"
s=$(date +%s.%N); echo 汉 | "$cli" pinyin --tone numbers > /dev/null; e=$(date +%s.%N)
printf "one character, warm data file, whole process: %.1f ms\n" "$(echo "($e - $s) * 1000" | bc -l)"
if [ -x "$build/bench/bench_text" ]; then
    "$build/bench/bench_text" --benchmark_filter=pinyinDataLoad 2>/dev/null | grep BM_
    # The engine alone, in process, on the same corpus and data: what start-up and I/O leave out.
    LANTERNFIN_CORPUS="$corpus" LANTERNFIN_DATA_DIR="$(dirname "$data")" "$build/bench/bench_text" \
        --benchmark_filter=pinyinReadCorpus --benchmark_repetitions=3 2>/dev/null | grep -E "BM_.*_median"
fi
