#!/usr/bin/env bash
# The converted fixtures still open in LibreOffice: each is converted s2twp by lanternfin-cli and then
# printed to PDF by soffice (one run for all). Content controls bound to data are filled from their
# data when LibreOffice opens a document, as Word does: the converted bound-controls.docx must show
# as text what its original shows, converted; the converted formulas.xlsx and .ods, computed again,
# must give what their original gives, converted. Skipped (77) where LibreOffice is not installed.
# Usage: office_opens.sh LANTERNFIN_CLI FIXTURE_DIR
set -euo pipefail
cli=$1
fixtures=$2
command -v soffice >/dev/null || { echo "soffice not installed: skipped"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Calc computes every formula again on loading, as Excel does with a workbook another program wrote.
mkdir -p "$tmp/profile/user"
cat >"$tmp/profile/user/registrymodifications.xcu" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="ODFRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
EOF
for f in sample-lo.docx sample-pandoc.docx sample-lo.odt; do
    "$cli" convert -c s2twp "$fixtures/$f" -o "$tmp/converted-${f%.*}-${f##*.}.${f##*.}"
done
timeout 300 soffice --headless -env:UserInstallation=file://"$tmp"/profile --convert-to pdf --outdir "$tmp/pdf" \
    "$tmp"/converted-* >/dev/null 2>&1
for f in sample-lo.docx sample-pandoc.docx sample-lo.odt; do
    pdf="$tmp/pdf/converted-${f%.*}-${f##*.}.pdf"
    [ -s "$pdf" ] || { echo "LibreOffice did not print converted-$f"; exit 1; }
done

"$cli" convert -c s2twp "$fixtures/bound-controls.docx" -o "$tmp/bound-converted.docx"
cp "$fixtures/bound-controls.docx" "$tmp/bound-original.docx"
timeout 300 soffice --headless -env:UserInstallation=file://"$tmp"/profile --convert-to "txt:Text (encoded):UTF8" \
    --outdir "$tmp/txt" "$tmp/bound-original.docx" "$tmp/bound-converted.docx" >/dev/null 2>&1
"$cli" convert -c s2twp "$tmp/txt/bound-original.txt" -o "$tmp/expected.txt"
grep -q 护理 "$tmp/txt/bound-original.txt" || { echo "LibreOffice did not show bound-controls.docx"; exit 1; }
diff "$tmp/expected.txt" "$tmp/txt/bound-converted.txt" ||
    { echo "the controls bound to data show other text than their conversion"; exit 1; }

# The formulas of formulas.xlsx and .ods, computed again, give what their original gives, converted:
# criteria that still match the converted cells, answers converted, sheet names still found.
for ext in xlsx ods; do
    "$cli" convert -c s2twp "$fixtures/formulas.$ext" -o "$tmp/$ext-converted.$ext"
    cp "$fixtures/formulas.$ext" "$tmp/$ext-original.$ext"
    timeout 300 soffice --headless -env:UserInstallation=file://"$tmp"/profile \
        --convert-to "csv:Text - txt - csv (StarCalc):44,34,76" --outdir "$tmp/csv" \
        "$tmp/$ext-original.$ext" "$tmp/$ext-converted.$ext" >/dev/null 2>&1
    "$cli" convert -c s2twp "$tmp/csv/$ext-original.csv" -o "$tmp/$ext-expected.csv"
    grep -q 300 "$tmp/csv/$ext-original.csv" || { echo "LibreOffice did not compute formulas.$ext"; exit 1; }
    diff "$tmp/$ext-expected.csv" "$tmp/csv/$ext-converted.csv" ||
        { echo "the converted formulas of formulas.$ext compute other results than the original's"; exit 1; }
done

# A pivot table is built again from its converted cells on loading; GETPIVOTDATA, asking for the
# data field by its converted name and for a converted department, still finds the sum. The
# fields' names stay (the header cells repeat them), so only the cells that must change are read.
"$cli" convert -c s2twp "$fixtures/pivot.xlsx" -o "$tmp/pivot-converted.xlsx"
timeout 300 soffice --headless -env:UserInstallation=file://"$tmp"/profile \
    --convert-to "csv:Text - txt - csv (StarCalc):44,34,76" --outdir "$tmp/csv" "$tmp/pivot-converted.xlsx" \
    >/dev/null 2>&1
head -1 "$tmp/csv/pivot-converted.csv" | grep -q '^部门,金额,,部门,求和項:金額,,150$' ||
    { echo "the converted pivot table lost its data field or its GETPIVOTDATA:"; cat "$tmp/csv/pivot-converted.csv"; exit 1; }
echo "LibreOffice opened and printed every converted document; bound controls show their converted data;"
echo "converted formulas and pivot tables compute what the original's compute, converted"
