#!/usr/bin/env python3
"""Copies a docx, giving its second paragraph a STYLEREF field that names the style 标题 1."""
import sys
import zipfile

src, dst = sys.argv[1], sys.argv[2]
plain = '<w:r><w:rPr></w:rPr><w:t>软件开发说明</w:t></w:r>'
field = ('<w:r><w:fldChar w:fldCharType="begin"/></w:r>'
         '<w:r><w:instrText xml:space="preserve"> STYLEREF "标题 1" \\* MERGEFORMAT </w:instrText></w:r>'
         '<w:r><w:fldChar w:fldCharType="separate"/></w:r>'
         '<w:r><w:t>软件开发说明</w:t></w:r>'
         '<w:r><w:fldChar w:fldCharType="end"/></w:r>')
with zipfile.ZipFile(src) as zin, zipfile.ZipFile(dst, 'w') as zout:
    for info in zin.infolist():
        data = zin.read(info)
        if info.filename == 'word/document.xml':
            text = data.decode('utf-8')
            assert text.count(plain) >= 1
            data = text.replace(plain, field, 1).encode('utf-8')
        zout.writestr(info, data, compress_type=info.compress_type)
