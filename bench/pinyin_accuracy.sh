#!/usr/bin/env bash
# Agreement of `pinyin --tone numbers` readings with pinyin-pro, a widely used JavaScript pinyin
# library, character by character, on Chinese prose from Debian's packages:
#   debian-reference-zh-cn and debian-faq-zh-cn (fetched with apt-get download, not installed)
#   and the zh_CN message catalogues of the installed packages.
# EVAL_TEXT=FILE compares on that text instead.
# pinyin-pro is installed with npm in a scratch folder outside the repository ($PEER_DIR); nothing
# of it enters the project. Usage: bench/pinyin_accuracy.sh BUILD_DIR [--show N]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: pinyin_accuracy.sh BUILD_DIR [--show N]}
shift
peer=${PEER_DIR:-/tmp/lanternfin-pinyin-peer}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -d "$peer/node_modules/pinyin-pro" ]; then
    mkdir -p "$peer"
    (cd "$peer" && npm install --silent --no-save pinyin-pro@3 >/dev/null)
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
(cd "$peer" && node "$here/pinyin_peer.js") < "$work/text.txt" > "$work/peer.txt"
echo "lines: $(wc -l < "$work/text.txt")"
python3 "$here/pinyin_compare.py" "$work/text.txt" "$work/ours.txt" "$work/peer.txt" "$@"
