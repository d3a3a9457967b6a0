#!/usr/bin/env python3
# Writes pivot.xlsx: a sheet 数据 with departments and amounts (A1:B4), a pivot table over them at
# D1 as Excel writes one (its own captions: the row header, the data field's name 求和项:金额, an
# item renamed 技术组, the grand total), its output cells, and a GETPIVOTDATA that asks the pivot
# table for the sales department's sum by the data field's name. The cache holds the original's
# items and records, as a workbook saved before its conversion does.
import sys
import zipfile

X = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
R = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
HEAD = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
strings = ['部门', '金额', '销售部', '技术部', '部门名称', '求和项:金额', '技术组', '总计']


def s(ref, text):
    return '<c r="%s" t="s"><v>%d</v></c>' % (ref, strings.index(text))


def n(ref, value):
    return '<c r="%s"><v>%s</v></c>' % (ref, value)


rows = [
    s('A1', '部门') + s('B1', '金额') + s('D1', '部门名称') + s('E1', '求和项:金额') +
    '<c r="G1"><f>GETPIVOTDATA("求和项:金额",$D$1,"部门","销售部")</f><v>150</v></c>',
    s('A2', '销售部') + n('B2', 100) + s('D2', '技术组') + n('E2', 200),
    s('A3', '技术部') + n('B3', 200) + s('D3', '销售部') + n('E3', 150),
    s('A4', '销售部') + n('B4', 50) + s('D4', '总计') + n('E4', 350),
]
sheet = (HEAD + '<worksheet xmlns="%s" xmlns:r="%s"><sheetData>' % (X, R) +
         ''.join('<row r="%d">%s</row>' % (i + 1, row) for i, row in enumerate(rows)) +
         '</sheetData></worksheet>')
cache = (HEAD + '<pivotCacheDefinition xmlns="%s" xmlns:r="%s" r:id="rId1" refreshedVersion="6" '
         'createdVersion="6" minRefreshableVersion="3" recordCount="3">'
         '<cacheSource type="worksheet"><worksheetSource ref="A1:B4" sheet="数据"/></cacheSource>'
         '<cacheFields count="2">'
         '<cacheField name="部门" numFmtId="0"><sharedItems count="2"><s v="销售部"/><s v="技术部"/></sharedItems></cacheField>'
         '<cacheField name="金额" numFmtId="0"><sharedItems containsSemiMixedTypes="0" containsString="0" '
         'containsNumber="1" containsInteger="1" minValue="50" maxValue="200"/></cacheField>'
         '</cacheFields></pivotCacheDefinition>' % (X, R))
records = (HEAD + '<pivotCacheRecords xmlns="%s" count="3">'
           '<r><x v="0"/><n v="100"/></r><r><x v="1"/><n v="200"/></r><r><x v="0"/><n v="50"/></r>'
           '</pivotCacheRecords>' % X)
table = (HEAD + '<pivotTableDefinition xmlns="%s" name="数据透视表1" cacheId="1" applyNumberFormats="0" '
         'applyBorderFormats="0" applyFontFormats="0" applyPatternFormats="0" applyAlignmentFormats="0" '
         'applyWidthHeightFormats="1" dataCaption="值" grandTotalCaption="总计" rowHeaderCaption="部门名称" '
         'updatedVersion="6" minRefreshableVersion="3" useAutoFormatting="1" itemPrintTitles="1" '
         'createdVersion="6" indent="0" outline="1" outlineData="1" multipleFieldFilters="0">'
         '<location ref="D1:E4" firstHeaderRow="1" firstDataRow="1" firstDataCol="1"/>'
         '<pivotFields count="2">'
         '<pivotField axis="axisRow" showAll="0"><items count="3"><item n="技术组" x="1"/><item x="0"/>'
         '<item t="default"/></items></pivotField>'
         '<pivotField dataField="1" showAll="0"/></pivotFields>'
         '<rowFields count="1"><field x="0"/></rowFields>'
         '<rowItems count="3"><i><x/></i><i><x v="1"/></i><i t="grand"><x/></i></rowItems>'
         '<colItems count="1"><i/></colItems>'
         '<dataFields count="1"><dataField name="求和项:金额" fld="1" baseField="0" baseItem="0"/></dataFields>'
         '</pivotTableDefinition>' % X)


def rels(*targets):
    return (HEAD + '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">' +
            ''.join('<Relationship Id="rId%d" Type="%s%s" Target="%s"/>' % (i + 1, REL, kind, target)
                    for i, (kind, target) in enumerate(targets)) + '</Relationships>')


def override(name, kind):
    return ('<Override PartName="/%s" ContentType="application/vnd.openxmlformats-officedocument.'
            'spreadsheetml.%s+xml"/>' % (name, kind))


parts = {
    '[Content_Types].xml':
        HEAD + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>' +
        override('xl/workbook.xml', 'sheet.main') + override('xl/worksheets/sheet1.xml', 'worksheet') +
        override('xl/sharedStrings.xml', 'sharedStrings') +
        override('xl/pivotCache/pivotCacheDefinition1.xml', 'pivotCacheDefinition') +
        override('xl/pivotCache/pivotCacheRecords1.xml', 'pivotCacheRecords') +
        override('xl/pivotTables/pivotTable1.xml', 'pivotTable') + '</Types>',
    '_rels/.rels': rels(('officeDocument', 'xl/workbook.xml')),
    'xl/workbook.xml':
        HEAD + '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="数据" sheetId="1" r:id="rId1"/></sheets>'
        '<pivotCaches><pivotCache cacheId="1" r:id="rId3"/></pivotCaches></workbook>' % (X, R),
    'xl/_rels/workbook.xml.rels': rels(('worksheet', 'worksheets/sheet1.xml'), ('sharedStrings', 'sharedStrings.xml'),
                                       ('pivotCacheDefinition', 'pivotCache/pivotCacheDefinition1.xml')),
    'xl/worksheets/sheet1.xml': sheet,
    'xl/worksheets/_rels/sheet1.xml.rels': rels(('pivotTable', '../pivotTables/pivotTable1.xml')),
    'xl/sharedStrings.xml':
        HEAD + '<sst xmlns="%s">%s</sst>' % (X, ''.join('<si><t>%s</t></si>' % t for t in strings)),
    'xl/pivotCache/pivotCacheDefinition1.xml': cache,
    'xl/pivotCache/_rels/pivotCacheDefinition1.xml.rels': rels(('pivotCacheRecords', 'pivotCacheRecords1.xml')),
    'xl/pivotCache/pivotCacheRecords1.xml': records,
    'xl/pivotTables/pivotTable1.xml': table,
    'xl/pivotTables/_rels/pivotTable1.xml.rels': rels(('pivotCacheDefinition', '../pivotCache/pivotCacheDefinition1.xml')),
}

with zipfile.ZipFile(sys.argv[1] if len(sys.argv) > 1 else 'pivot.xlsx', 'w') as z:
    for name, text in parts.items():
        info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, text)
