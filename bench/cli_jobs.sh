#!/usr/bin/env bash
# --jobs 2 against --jobs 1, end to end: one ~200 MB text through `pinyin --tone marks` (cut at line
# ends across the jobs) and 2,000 small files through `convert -c s2t -r SRC -O DST`; wall time,
# CPU time and peak RSS of the best of five runs each, the speed-up beside its floor (1.6x and
# 1.5x), and whether the outputs are byte-identical. On a machine shared with other work the wall
# times say little: the load average is printed first. The files are made under $TMPDIR (/tmp):
# on a disk the small files' time includes waiting for its flushes, which vary with the disk;
# TMPDIR=/dev/shm leaves the cores alone to measure.
# Both are set beside what two processes that share nothing reach on this machine and disk.
# Usage: bench/cli_jobs.sh [build-dir] [MB]   (a build with lanternfin-cli, pinyin.dat and the phrase images)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
megabytes=${2:-200}
cli="$build/cli/lanternfin-cli"
corpus=$("$here/corpus.sh")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The corpus repeated to the size asked for, and 2,000 files of its lines (about 2 to 20 kB each).
while [ "$(stat -c %s "$tmp/big.txt" 2>/dev/null || echo 0)" -lt $((megabytes * 1000000)) ]; do
    cat "$corpus" >> "$tmp/big.txt"
done
mkdir -p "$tmp/small"
split -a 4 -d -n l/2000 "$corpus" "$tmp/small/part-"
for f in "$tmp"/small/part-*; do mv "$f" "$f.txt"; done

best() { # OUTPUT COMMAND...: best wall time of five runs, with its CPU time (user + system) and peak RSS
    # Each run writes a new output, OUTPUT.1 to OUTPUT.5 (an argument @OUT@ names it); the last is
    # renamed OUTPUT, and all are left for the end (about 3 GB). Nothing is deleted during the runs
    # and nothing dirty is left in the page cache before one: replacing the last run's 280 MB
    # output, or flushing it, would add the same time to both sides, and ext4 searches long for a
    # free inode among thousands just deleted, a cost that the user converting a folder never meets.
    local output=$1 b=999 cpu=0 rss=0 s e t u sy r i a
    shift
    rm -rf "$output" "$output".[1-5]
    for i in 1 2 3 4 5; do
        local args=()
        for a in "$@"; do [ "$a" = @OUT@ ] && args+=("$output.$i") || args+=("$a"); done
        sync
        s=$(date +%s.%N)
        /usr/bin/time -f '%U %S %M' -o "$tmp/time" "${args[@]}" 2>>"$tmp/stderr"
        e=$(date +%s.%N)
        t=$(echo "$e - $s" | bc -l)
        if (( $(echo "$t < $b" | bc -l) )); then
            b=$t
            read -r u sy r < "$tmp/time"
            cpu=$(echo "$u + $sy" | bc -l)
            rss=$r
        fi
    done
    if [ -e "$output.5" ]; then mv "$output.5" "$output"; fi
    echo "$b $cpu $rss"
}
report() { # name seconds cpu rss
    printf "%-44s %7.2f s (CPU %6.2f s)  peak RSS %6.1f MB\n" "$1" "$2" "$3" "$(echo "$4 / 1024" | bc -l)"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; text $(($(stat -c %s "$tmp/big.txt") / 1000000)) MB"
read -r t1 c1 r1 < <(best "$tmp/one.txt" "$cli" pinyin --tone marks --no-progress --jobs 1 "$tmp/big.txt" -o @OUT@)
report "pinyin --tone marks, --jobs 1" "$t1" "$c1" "$r1"
read -r t2 c2 r2 < <(best "$tmp/two.txt" "$cli" pinyin --tone marks --no-progress --jobs 2 "$tmp/big.txt" -o @OUT@)
report "pinyin --tone marks, --jobs 2" "$t2" "$c2" "$r2"
printf "  speed-up %.2fx (floor 1.6x), outputs %s\n" "$(echo "$t1 / $t2" | bc -l)" \
    "$(cmp -s "$tmp/one.txt" "$tmp/two.txt" && echo identical || echo DIFFERENT)"
# What this machine gives two processes that share nothing: the text's two halves, each through its
# own one-job run, at the same time. Where two cores are not twice one (a virtual machine's cores
# that slow each other down, or that the host's other work shares), --jobs 2 cannot do better.
split -n l/2 -d "$tmp/big.txt" "$tmp/half-"
read -r th ch rh < <(best "$tmp/halves" bash -c "\"$cli\" pinyin --tone marks --no-progress --jobs 1 \"$tmp/half-00\" -o \"\$1.a\" &
    \"$cli\" pinyin --tone marks --no-progress --jobs 1 \"$tmp/half-01\" -o \"\$1.b\"; wait" _ @OUT@)
report "  the two halves at once, one job each" "$th" "$ch" "$rh"
printf "  speed-up %.2fx: the machine's own for two processes that share nothing\n" "$(echo "$t1 / $th" | bc -l)"

read -r t1 c1 r1 < <(best "$tmp/out" "$cli" convert -c s2t --no-progress --jobs 1 -r "$tmp/small" -O @OUT@)
mv "$tmp/out" "$tmp/small-one"
report "convert -c s2t, 2,000 files, --jobs 1" "$t1" "$c1" "$r1"
read -r t2 c2 r2 < <(best "$tmp/out" "$cli" convert -c s2t --no-progress --jobs 2 -r "$tmp/small" -O @OUT@)
report "convert -c s2t, 2,000 files, --jobs 2" "$t2" "$c2" "$r2"
printf "  speed-up %.2fx (floor 1.5x), outputs %s\n" "$(echo "$t1 / $t2" | bc -l)" \
    "$(diff -r -q "$tmp/small-one" "$tmp/out" >/dev/null && echo identical || echo DIFFERENT)"
# The machine's own for the small files: their two halves (every other file), each through its own
# one-job run into a folder of its own, at the same time. Two processes that share nothing but the
# cores and the disk are what --jobs 2 can at best be.
mkdir -p "$tmp/small-a" "$tmp/small-b"
i=0
for f in "$tmp"/small/part-*; do
    if ((i++ % 2)); then ln "$f" "$tmp/small-b/"; else ln "$f" "$tmp/small-a/"; fi
done
read -r th ch rh < <(best "$tmp/halves" bash -c "mkdir -p \"\$1\" &&
    { \"$cli\" convert -c s2t --no-progress --jobs 1 -r \"$tmp/small-a\" -O \"\$1\" &
      \"$cli\" convert -c s2t --no-progress --jobs 1 -r \"$tmp/small-b\" -O \"\$1\"; wait; }" _ @OUT@)
report "  the two halves at once, one job each" "$th" "$ch" "$rh"
printf "  speed-up %.2fx: the machine's own for two processes that share nothing\n" "$(echo "$t1 / $th" | bc -l)"
