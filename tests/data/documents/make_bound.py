#!/usr/bin/env python3
# Writes bound-controls.docx: a cover page whose content controls are bound to data, as Word's cover
# pages and contract templates have them: one to a custom XML part (a contract's party, beside an id
# that no control shows), one to the core properties' author, one to the extended properties' company.
# Word and LibreOffice fill each control from the element it is bound to when they open the file.
import sys
import zipfile

W = 'http://schemas.openxmlformats.org/wordprocessingml/2006/main'
CORE = 'http://schemas.openxmlformats.org/package/2006/metadata/core-properties'
DC = 'http://purl.org/dc/elements/1.1/'
EXT = 'http://schemas.openxmlformats.org/officeDocument/2006/extended-properties'
STORE = '{5E0C1F2A-1111-4A4A-9B9B-0123456789AB}'


def control(mappings, xpath, store, text):
    return ('<w:sdt><w:sdtPr><w:dataBinding w:prefixMappings="%s" w:xpath="%s" w:storeItemID="%s"/><w:text/>'
            '</w:sdtPr><w:sdtContent><w:p><w:r><w:t>%s</w:t></w:r></w:p></w:sdtContent></w:sdt>'
            % (mappings, xpath, store, text))


parts = {
    '[Content_Types].xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
        '<Override PartName="/customXml/itemProps1.xml" ContentType="application/vnd.openxmlformats-officedocument.customXmlProperties+xml"/>'
        '<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>'
        '<Override PartName="/docProps/app.xml" ContentType="application/vnd.openxmlformats-officedocument.extended-properties+xml"/>'
        '</Types>',
    '_rels/.rels':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>'
        '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="docProps/core.xml"/>'
        '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties" Target="docProps/app.xml"/>'
        '</Relationships>',
    'word/document.xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<w:document xmlns:w="%s"><w:body><w:p><w:r><w:t>软件开发合同</w:t></w:r></w:p>' % W +
        control("xmlns:ns0='urn:lanternfin:contract'", '/ns0:contract[1]/ns0:party[2]', STORE, '头发护理公司') +
        control("xmlns:ns0='%s' xmlns:ns1='%s'" % (DC, CORE), '/ns1:coreProperties[1]/ns0:creator[1]',
                '{6C3C8BC8-F283-45AE-878A-BAB7291924A1}', '张丽华') +
        control("xmlns:ns0='%s'" % EXT, '/ns0:Properties[1]/ns0:Company[1]',
                '{6668398D-A668-4E3E-A5EB-62B293D839F1}', '云计算软件公司') +
        '<w:sectPr/></w:body></w:document>',
    'word/_rels/document.xml.rels':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/customXml" Target="../customXml/item1.xml"/>'
        '</Relationships>',
    'customXml/item1.xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="no"?>'
        '<contract xmlns="urn:lanternfin:contract"><id>软件-001</id><party>软件开发公司</party>'
        '<party>头发护理公司</party></contract>',
    'customXml/itemProps1.xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="no"?>'
        '<ds:datastoreItem ds:itemID="%s" xmlns:ds="http://schemas.openxmlformats.org/officeDocument/2006/customXml">'
        '<ds:schemaRefs/></ds:datastoreItem>' % STORE,
    'customXml/_rels/item1.xml.rels':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/customXmlProps" Target="itemProps1.xml"/>'
        '</Relationships>',
    'docProps/core.xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<cp:coreProperties xmlns:cp="%s" xmlns:dc="%s"><dc:title>软件开发合同</dc:title>'
        '<dc:creator>张丽华</dc:creator></cp:coreProperties>' % (CORE, DC),
    'docProps/app.xml':
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Properties xmlns="%s"><Company>云计算软件公司</Company></Properties>' % EXT,
}

with zipfile.ZipFile(sys.argv[1] if len(sys.argv) > 1 else 'bound-controls.docx', 'w', zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, text)
