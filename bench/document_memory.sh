#!/usr/bin/env bash
# Peak memory of `lanternfin-cli convert -c s2t IN -o OUT` on documents whose size lies outside
# their text: a .docx with 2 MB of text beside a 200 MB stored picture and a 100 MB deflated one,
# and a .docx of the ~10 MB corpus spread over 200 headers. The peak RSS (/usr/bin/time %M) is
# shown beside the program's own floor (the same command on a one-line text file) and the largest
# text part: it should grow with that part, never with the file or the number of parts. Each
# output is checked: converted, every other entry kept.
# Usage: bench/document_memory.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
cli=$(cd "$build/cli" && pwd)/lanternfin-cli
corpus=$("$here/corpus.sh")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 "$here/make_docx.py" media "$corpus" "$tmp/media.docx"
python3 "$here/make_docx.py" parts "$corpus" "$tmp/parts.docx"
echo '软件' >"$tmp/line.txt"

rss() { # peak RSS in MB of "$@"
    /usr/bin/time -f "%M" -o "$tmp/rss" "$@" >/dev/null 2>"$tmp/err" || { cat "$tmp/err" >&2; exit 1; }
    echo $(($(tail -1 "$tmp/rss") / 1024))
}
largest() { # the largest inflated text part (word/*.xml) of a .docx, in MB
    unzip -l "$1" 'word/*.xml' | awk '$4 ~ /\.xml$/ && $1 > m {m = $1} END {printf "%.1f", m / 1048576}'
}

"$cli" convert -c s2t "$tmp/line.txt" -o "$tmp/line.out" # builds the image cache, if any
floor=$(rss "$cli" convert -c s2t "$tmp/line.txt" -o "$tmp/line.out")
printf 'floor: a one-line text file                      peak RSS %4d MB\n' "$floor"
for doc in media parts; do
    in=$tmp/$doc.docx
    peak=$(rss "$cli" convert -c s2t "$in" -o "$tmp/$doc.out.docx")
    printf '%-6s %4d MB file, %3d entries, largest text part %5s MB: peak RSS %4d MB (%+d over the floor)\n' \
        "$doc" "$(($(stat -c %s "$in") / 1048576))" "$(unzip -l "$in" | tail -1 | awk '{print $2}')" \
        "$(largest "$in")" "$peak" "$((peak - floor))"
    # The result: the same entries in the same order, every one but the text byte for byte.
    python3 - "$in" "$tmp/$doc.out.docx" <<'EOF'
import sys, zipfile
a, b = zipfile.ZipFile(sys.argv[1]), zipfile.ZipFile(sys.argv[2])
assert [i.filename for i in a.infolist()] == [i.filename for i in b.infolist()], 'entries differ'
changed = 0
for x, y in zip(a.infolist(), b.infolist()):
    assert x.compress_type == y.compress_type and x.date_time == y.date_time, x.filename
    if x.filename.endswith('.xml') and x.filename.startswith('word/'):
        changed += a.read(x) != b.read(y)
    else:
        assert x.CRC == y.CRC and x.compress_size == y.compress_size, x.filename
assert b.testzip() is None
print('       output checked: %d text parts changed, all other entries kept' % changed)
EOF
done
