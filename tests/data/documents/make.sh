#!/usr/bin/env bash
# Makes the document fixtures from sample.fodt, sample.md and english.md with two producers:
# LibreOffice (sample-lo.docx, sample-lo.odt) and pandoc (sample-pandoc.docx, .epub, .html,
# english-pandoc.docx). LibreOffice's docx then gets a STYLEREF field naming the style 标题 1 in
# its second paragraph (LibreOffice writes its chapter field as plain text), by add_field.py.
# Run it here; the outputs are committed, so tests need neither program.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
soffice --headless -env:UserInstallation=file://"$tmp"/profile --convert-to docx --outdir "$tmp" sample.fodt >/dev/null
soffice --headless -env:UserInstallation=file://"$tmp"/profile --convert-to odt --outdir "$tmp" sample.fodt >/dev/null
python3 add_field.py "$tmp"/sample.docx sample-lo.docx
cp "$tmp"/sample.odt sample-lo.odt
pandoc sample.md -o sample-pandoc.docx
pandoc sample.md -o sample-pandoc.epub
pandoc sample.md --standalone -o sample-pandoc.html
pandoc english.md -o english-pandoc.docx
# Info-ZIP writing to a pipe: each entry's local header gives its inflated size and a data
# descriptor follows its data.
mkdir "$tmp"/streamed
(cd "$tmp"/streamed && unzip -q "$OLDPWD"/sample-pandoc.docx && zip -q -X -r - . | cat >"$OLDPWD"/streamed-infozip.docx)
