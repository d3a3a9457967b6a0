#!/usr/bin/env bash
# The robustness checks that CI runs after ./test.sh:
#   1. the whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer (leaks included),
#      but for the packaging checks, LibreOffice opening our documents and epubcheck, which check files,
#      not memory, the window-manager timing runs (start size, docking), whose code the window
#      tests run already, and the check that the pinyin data is built byte for byte alike twice,
#      which builds it twice more (half a minute under the sanitizers) where the build has just run
#      the same generator under them;
#   2. every fuzz target (libFuzzer, clang) for FUZZ_SECONDS (default 10), one per core at a time, from
#      the seed corpus in fuzz/corpus.
# A fuzz finding leaves its input as build-fuzz/findings/crash-* and fails the run.
# The fuzzing build runs at the lowest priority beside the sanitizer suite, whose window tests run one
# at a time and mostly wait, so that it takes only the time they leave idle.
# `robustness.sh --build-sanitized` only makes the sanitizer build (CI starts it so beside ./test.sh,
# for the same reason); `--build-fuzz` only the fuzzing build.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)

# Line tables are all a sanitizer's report needs, and they build and link far faster than full debug
# information; -O1, as the sanitizers' authors advise, compiles in a quarter less time than -O2.
debug_flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")
build_asan() {
    cmake -S . -B build-asan -DLANTERNFIN_SANITIZE=ON "${debug_flags[@]}"
    cmake --build build-asan -j"$jobs"
}
build_fuzz() {
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DLANTERNFIN_FUZZ=ON -DLANTERNFIN_GUI=OFF -DBUILD_TESTING=OFF \
        "${debug_flags[@]}"
    cmake --build build-fuzz -j"$jobs"
}
case "${1:-}" in
--build-sanitized) build_asan; exit 0 ;;
--build-fuzz) build_fuzz; exit 0 ;;
esac

echo "== sanitizer test suite"
build_asan
./scripts/lowest-priority.sh ./scripts/robustness.sh --build-fuzz >build-fuzz.log 2>&1 &
fuzz_build=$!
trap 'kill -- "-$fuzz_build" 2>/dev/null || true' EXIT
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" \
    -E '^(package|validate)\.|office_opens|epub_checks|^e2e\.(startup_size|docking)_e2e|^PinyinData\.SameInputsMakeTheSameFile$')

echo "== fuzzing"
if ! wait "$fuzz_build"; then
    tail -60 build-fuzz.log
    echo "the fuzzing build failed"
    exit 1
fi
seconds=${FUZZ_SECONDS:-10}
mkdir -p build-fuzz/findings
# One target per core at a time; each keeps its own log, shown in full only when it finds a fault.
fuzz_one() {
    local target=$1 work timeout=10
    # A phrase input may load one more stock configuration on the way, which under the sanitizers
    # takes several seconds of that input's time.
    [ "$target" = phrase_convert ] && timeout=40
    work=$(mktemp -d)
    cp fuzz/corpus/"$target"/* "$work"/
    if ! build-fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -max_len=4096 -timeout="$timeout" -rss_limit_mb=2048 \
        -artifact_prefix=build-fuzz/findings/ "$work" >"$work.log" 2>&1; then
        tail -40 "$work.log"
        echo "fuzz_$target found a fault"
        return 1
    fi
    echo "-- fuzz_$target for ${seconds}s: $(grep -E "^#[0-9]+.*DONE|Done [0-9]+ runs" "$work.log" | tail -1)"
    rm -rf "$work" "$work.log"
}
failed=0
running=0
for target in leading_number amount amount_reading numerals proportion pinyin pinyin_reading text_convert utf8 phrase_convert phrase_image encoding_detect subtitles xml_tokens page_encoding xml_part document opencc_config split; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    fuzz_one "$target" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
[ "$failed" = 0 ] || exit 1
echo "robustness checks passed"
