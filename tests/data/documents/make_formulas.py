#!/usr/bin/env python3
# Writes formulas.xlsx: a sheet named 销售 whose formulas spell department names as text (SUMIF and
# COUNTIF criteria, an IF comparing and answering in words, a data validation list) beside formulas
# whose text names the sheet itself (INDIRECT), which must stay as it is. The cached results are
# those of the original, so a program that recalculates on opening shows whether the formulas still
# match the converted cells.
import sys
import zipfile

X = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
R = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'


def string_cell(ref, index):
    return '<c r="%s" t="s"><v>%d</v></c>' % (ref, index)


def number_cell(ref, value):
    return '<c r="%s"><v>%s</v></c>' % (ref, value)


def formula_cell(ref, formula, value, text=False):
    formula = formula.replace('&', '&amp;').replace('"', '&quot;')
    return '<c r="%s"%s><f>%s</f><v>%s</v></c>' % (ref, ' t="str"' if text else '', formula, value)


strings = ['销售部', '技术部']
rows = [
    string_cell('A1', 0) + number_cell('B1', 100) + formula_cell('C1', 'SUMIF(A1:A3,"销售部",B1:B3)', 300),
    string_cell('A2', 0) + number_cell('B2', 200) + formula_cell('C2', 'COUNTIF(A1:A3,"技术部")', 1),
    string_cell('A3', 1) + number_cell('B3', 50) + formula_cell('C3', 'IF(A1="销售部","对","错")', '对', True),
    formula_cell('C4', 'INDIRECT("销售!B1")', 100),
    formula_cell('C5', 'INDIRECT("\'"&"销售"&"\'!B2")', 200),
]
sheet = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<worksheet xmlns="%s"><sheetData>' % X +
         ''.join('<row r="%d">%s</row>' % (i + 1, row) for i, row in enumerate(rows)) +
         '</sheetData><dataValidations count="1"><dataValidation type="list" sqref="D1:D3">'
         '<formula1>"销售部,技术部"</formula1></dataValidation></dataValidations></worksheet>')
parts = {
    '[Content_Types].xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
        '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
        '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
        '</Types>',
    '_rels/.rels':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>'
        '</Relationships>',
    'xl/workbook.xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="销售" sheetId="1" r:id="rId1"/></sheets></workbook>'
        % (X, R),
    'xl/_rels/workbook.xml.rels':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
        '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
        '</Relationships>',
    'xl/worksheets/sheet1.xml': sheet,
    'xl/sharedStrings.xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<sst xmlns="%s">%s</sst>'
        % (X, ''.join('<si><t>%s</t></si>' % s for s in strings)),
}

with zipfile.ZipFile(sys.argv[1] if len(sys.argv) > 1 else 'formulas.xlsx', 'w', zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, text)
