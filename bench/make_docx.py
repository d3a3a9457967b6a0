#!/usr/bin/env python3
"""Makes the .docx files of document_throughput.sh.

  make_docx.py corpus TEXT OUT   one paragraph a line of TEXT, its text in two runs split mid-line
  make_docx.py bomb SIZE OUT     document.xml inflating to SIZE bytes, declared as such
  make_docx.py liar SIZE OUT     the same, its sizes declared as 1024 bytes
  make_docx.py media TEXT OUT    the first 2 MB of TEXT's lines as the body, beside a 200 MB picture
                                 of random bytes, stored, and a 100 MB one deflated
  make_docx.py parts TEXT OUT    TEXT's lines spread over 200 headers, each a part of its own
"""
import os
import struct
import sys
import zipfile
import zlib
from xml.sax.saxutils import escape

CONTENT_TYPES = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                 '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                 '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                 '<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-'
                 'officedocument.wordprocessingml.document.main+xml"/></Types>')
RELS = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
        'officeDocument" Target="word/document.xml"/></Relationships>')
HEAD = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>')
TAIL = '</w:body></w:document>'


def corpus(text_path, out):
    parts = [HEAD]
    with open(text_path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            half = len(line) // 2
            parts.append('<w:p><w:r><w:t xml:space="preserve">%s</w:t></w:r><w:r><w:rPr><w:b/></w:rPr>'
                         '<w:t xml:space="preserve">%s</w:t></w:r></w:p>'
                         % (escape(line[:half]), escape(line[half:])))
    parts.append(TAIL)
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml', CONTENT_TYPES)
        z.writestr('_rels/.rels', RELS)
        z.writestr('word/document.xml', ''.join(parts))


def paragraphs(lines):
    return ''.join('<w:p><w:r><w:t xml:space="preserve">%s</w:t></w:r></w:p>' % escape(line) for line in lines)


def lines_of(text_path, limit=None):
    out, size = [], 0
    with open(text_path, encoding='utf-8') as f:
        for line in f:
            out.append(line.rstrip('\n'))
            size += len(line.encode())
            if limit and size >= limit:
                break
    return out


def media(text_path, out):
    types = CONTENT_TYPES.replace('<Default Extension="rels"',
                                  '<Default Extension="png" ContentType="image/png"/><Default Extension="rels"')
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml', types)
        z.writestr('_rels/.rels', RELS)
        z.writestr('word/document.xml', HEAD + paragraphs(lines_of(text_path, 2 << 20)) + TAIL)
        with z.open(zipfile.ZipInfo('word/media/image1.png'), 'w', force_zip64=True) as f:
            for _ in range(200):
                f.write(os.urandom(1 << 20))
        info = zipfile.ZipInfo('word/media/image2.png')
        info.compress_type = zipfile.ZIP_DEFLATED
        with z.open(info, 'w', force_zip64=True) as f:
            for i in range(100):
                f.write(os.urandom(1 << 19) + bytes([i]) * (1 << 19))


def many_parts(text_path, out, count=200):
    lines = lines_of(text_path)
    header = ('application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml')
    overrides = ''.join('<Override PartName="/word/header%d.xml" ContentType="%s"/>' % (i, header)
                        for i in range(count))
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml', CONTENT_TYPES.replace('</Types>', overrides + '</Types>'))
        z.writestr('_rels/.rels', RELS)
        z.writestr('word/document.xml', HEAD + paragraphs(lines[:10]) + TAIL)
        per = len(lines) // count + 1
        for i in range(count):
            z.writestr('word/header%d.xml' % i,
                       '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                       '<w:hdr xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">'
                       + paragraphs(lines[i * per:(i + 1) * per]) + '</w:hdr>')


def bomb(size, out, declared=None):
    body = (HEAD + '<w:p><w:r><w:t>').encode()
    tail = ('</w:t></w:r></w:p>' + TAIL).encode()
    fill = size - len(body) - len(tail)
    deflate = zlib.compressobj(9, zlib.DEFLATED, -15)
    crc = zlib.crc32(body)
    data = [deflate.compress(body)]
    chunk = b'0' * (1 << 20)
    while fill > 0:
        piece = chunk[:min(fill, len(chunk))]
        crc = zlib.crc32(piece, crc)
        data.append(deflate.compress(piece))
        fill -= len(piece)
    crc = zlib.crc32(tail, crc)
    data.append(deflate.compress(tail))
    data.append(deflate.flush())
    raw = b''.join(data)
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml', CONTENT_TYPES)
        z.writestr('_rels/.rels', RELS)
    # The big entry is appended by hand, its compressed bytes as made above.
    with open(out, 'rb') as f:
        existing = f.read()
    end = existing.rfind(b'PK\x05\x06')
    cd_size, cd_offset = struct.unpack('<II', existing[end + 12:end + 20])
    entries = existing[:cd_offset]
    central = existing[cd_offset:cd_offset + cd_size]
    name = b'word/document.xml'
    stated = size if declared is None else declared
    local = struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, 0, 8, 0, 0x21, crc, len(raw), stated, len(name), 0) + name
    offset = len(entries)
    cdir = struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, 0, 8, 0, 0x21, crc, len(raw), stated, len(name),
                       0, 0, 0, 0, 0, offset) + name
    central += cdir
    entries += local + raw
    eocd = struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, 3, 3, len(central), len(entries), 0)
    with open(out, 'wb') as f:
        f.write(entries + central + eocd)


if __name__ == '__main__':
    kind, arg, out = sys.argv[1:4]
    if kind == 'corpus':
        corpus(arg, out)
    elif kind == 'media':
        media(arg, out)
    elif kind == 'parts':
        many_parts(arg, out)
    elif kind == 'bomb':
        bomb(int(arg), out)
    else:
        bomb(int(arg), out, declared=1024)
