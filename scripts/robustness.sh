#!/usr/bin/env bash
# The robustness checks that CI runs after ./test.sh:
#   1. the whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer (leaks included),
#      but for the packaging checks and LibreOffice opening our documents, which check files, not memory;
#   2. every fuzz target (libFuzzer, clang) for FUZZ_SECONDS (default 15) from the seed corpus in fuzz/corpus.
# A fuzz finding leaves its input as build-fuzz/findings/crash-* and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)

echo "== sanitizer test suite"
cmake -S . -B build-asan -DLANTERNFIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" -E '^(package|validate)\.|office_opens')

echo "== fuzzing"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DLANTERNFIN_FUZZ=ON -DLANTERNFIN_GUI=OFF -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz -j"$jobs"
seconds=${FUZZ_SECONDS:-15}
mkdir -p build-fuzz/findings
for target in leading_number amount amount_reading numerals proportion pinyin pinyin_reading text_convert utf8 phrase_convert phrase_image encoding_detect subtitles xml_tokens xml_part document opencc_config split; do
    work=$(mktemp -d)
    cp fuzz/corpus/"$target"/* "$work"/
    echo "-- fuzz_$target for ${seconds}s"
    if ! build-fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix=build-fuzz/findings/ "$work" >"$work.log" 2>&1; then
        tail -40 "$work.log"
        echo "fuzz_$target found a fault"
        exit 1
    fi
    grep -E "^#[0-9]+.*DONE|Done [0-9]+ runs" "$work.log" | tail -2
    rm -rf "$work" "$work.log"
done
echo "robustness checks passed"
