#!/usr/bin/env bash
# Agreement of `pinyin --tone numbers` readings with widely used pinyin libraries, character by
# character, on Chinese prose from Debian's packages:
#   debian-reference-zh-cn and debian-faq-zh-cn (fetched with apt-get download, not installed)
#   and the zh_CN message catalogues of the installed packages.
# EVAL_TEXT=FILE compares on that text instead.
# The peers are pinyin-pro, hotoo's pinyin (segmenting with Node's Intl.Segmenter) and @napi-rs/pinyin
# (the Rust pinyin crate with jieba); they are installed with npm in a scratch folder outside the
# repository ($PEER_DIR); nothing of them enters the project. The reference is their consensus: the
# characters where all three agree. The lines are split in two: tune on `--half tune`, report on
# `--half test` (the default reports both).
# Usage: bench/pinyin_accuracy.sh BUILD_DIR [--half tune|test] [--show N] [--letters]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: pinyin_accuracy.sh BUILD_DIR [--show N]}
shift
peer=${PEER_DIR:-/tmp/lanternfin-pinyin-peer}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

peers="pinyin-pro pinyin napi"
if [ ! -d "$peer/node_modules/pinyin-pro" ] || [ ! -d "$peer/node_modules/pinyin" ] ||
   [ ! -d "$peer/node_modules/@napi-rs/pinyin" ]; then
    mkdir -p "$peer"
    (cd "$peer" && npm install --silent --no-save pinyin-pro@3 pinyin@4 @napi-rs/pinyin@1 >/dev/null)
fi

if [ -n "${EVAL_TEXT:-}" ]; then
    cp "$EVAL_TEXT" "$work/all.txt"   # another text of your choice
else
(cd "$work" && apt-get download debian-reference-zh-cn debian-faq-zh-cn >/dev/null 2>&1)
for deb in "$work"/*.deb; do dpkg-deb -x "$deb" "$work/x"; done
{
    find "$work/x" -name '*.zh-cn.txt.gz' -print0 | sort -z | xargs -0 zcat
    for mo in /usr/share/locale/zh_CN/LC_MESSAGES/*.mo; do
        msgunfmt --no-wrap "$mo" 2>/dev/null | sed -n 's/^msgstr "\(.*\)"$/\1/p'
    done
} > "$work/all.txt"
fi
# Lines with at least four Chinese characters, each once, in a fixed random order.
{ yes lanternfin || true; } | head -c 1000000 > "$work/seed"
LC_ALL=C.UTF-8 grep -P '(\p{Han}.*){4}' "$work/all.txt" | sed 's/^[[:space:]]*//' | LC_ALL=C sort -u |
    shuf --random-source="$work/seed" > "$work/shuffled.txt"
head -n "${LINES_MAX:-30000}" "$work/shuffled.txt" > "$work/text.txt"

"$build/bench/pinyin_eval" < "$work/text.txt" > "$work/ours.txt"
files=()
for p in $peers; do
    (cd "$peer" && node "$here/pinyin_peer.js" "$p") < "$work/text.txt" > "$work/peer-$p.txt"
    files+=("$p:$work/peer-$p.txt")
done
echo "lines: $(wc -l < "$work/text.txt")"
if [ -n "${KEEP_DIR:-}" ]; then mkdir -p "$KEEP_DIR" && cp "$work"/*.txt "$KEEP_DIR"; fi
python3 "$here/pinyin_compare.py" "$work/text.txt" "$work/ours.txt" "${files[@]}" "$@"
