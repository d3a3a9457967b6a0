#!/usr/bin/env bash
# The converted fixtures still open in LibreOffice: each is converted s2twp by lanternfin-cli and then
# printed to PDF by soffice (one run for all). Skipped (77) where LibreOffice is not installed.
# Usage: office_opens.sh LANTERNFIN_CLI FIXTURE_DIR
set -euo pipefail
cli=$1
fixtures=$2
command -v soffice >/dev/null || { echo "soffice not installed: skipped"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for f in sample-lo.docx sample-pandoc.docx sample-lo.odt; do
    "$cli" convert -c s2twp "$fixtures/$f" -o "$tmp/converted-${f%.*}-${f##*.}.${f##*.}"
done
timeout 300 soffice --headless -env:UserInstallation=file://"$tmp"/profile --convert-to pdf --outdir "$tmp/pdf" \
    "$tmp"/converted-* >/dev/null 2>&1
for f in sample-lo.docx sample-pandoc.docx sample-lo.odt; do
    pdf="$tmp/pdf/converted-${f%.*}-${f##*.}.pdf"
    [ -s "$pdf" ] || { echo "LibreOffice did not print converted-$f"; exit 1; }
done
echo "LibreOffice opened and printed every converted document"
