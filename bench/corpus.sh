#!/usr/bin/env bash
# Builds bench/corpus/zh.txt, a ~10 MB Chinese test text (simplified and traditional), from the
# Chinese manual pages of Debian's manpages-zh, fetched with apt-get download (nothing is installed).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out="$here/corpus"
mkdir -p "$out"
if [ -s "$out/zh.txt" ]; then
    echo "$out/zh.txt"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get download manpages-zh >/dev/null 2>&1)
dpkg-deb -x "$work"/manpages-zh_*.deb "$work/x"
find "$work/x" -name '*.gz' -path '*zh_CN*' | sort | xargs zcat > "$work/cn.txt"
find "$work/x" -name '*.gz' -path '*zh_TW*' | sort | xargs zcat > "$work/tw.txt"
# Valid UTF-8 only, without the roff request lines, cut at a line end near 10 MB.
cat "$work/cn.txt" "$work/tw.txt" | iconv -f UTF-8 -t UTF-8 -c | grep -v "^[.']" > "$work/all.txt" || true
cat "$work/all.txt" "$work/all.txt" > "$work/twice.txt"
head -c 10485760 "$work/twice.txt" > "$work/cut.txt"
sed '$d' "$work/cut.txt" > "$out/zh.txt"
echo "$out/zh.txt"
