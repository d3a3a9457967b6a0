#!/usr/bin/env python3
"""Readings of CC-CEDICT's polyphone words against `lanternfin-cli pinyin --tone numbers`.

A polyphone is a character whose own CC-CEDICT entries (the character alone, simplified form)
give it two readings or more with their tones (trailing tone 5 counts as its own reading; the
case is ignored). A polyphone word is an entry of two to four Chinese characters, one syllable
each, that holds a polyphone. Each word is read alone, one per line; it is right when it reads as
one of its entries does (东西 dong1 xi1 and dong1 xi5 are both CC-CEDICT's). 一 and 不 are compared
without their tones: CC-CEDICT writes them as said alone (yi1 ding1), we as said in the word, with
their tone changes (yì dīng, yí gè, bú shì). Erhua syllables
(r5) and entries whose syllables are not one per character are left out.

Usage: pinyin_cedict.py CEDICT_ALL_JS LANTERNFIN_CLI [--show N]
"""
import collections
import json
import re
import subprocess
import sys

HAN = re.compile(r'^[\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\U00020000-\U0003134f]+$')


def syllables(pinyin):
    out = []
    for s in pinyin.split():
        s = s.lower().replace('u:', 'ü')
        if not re.fullmatch(r'[a-zü]+[1-5]', s):
            return None
        out.append(s)
    return out


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    data = open(sys.argv[1], encoding='utf-8').read()
    entries = json.loads(data[data.index('{'):].rstrip().rstrip(';'))['all']
    show = int(sys.argv[sys.argv.index('--show') + 1]) if '--show' in sys.argv else 0

    readings = collections.defaultdict(set)  # a character alone -> its readings
    words = collections.defaultdict(set)     # a word -> its readings (tuples)
    for e in entries:
        simplified, pinyin = e[1], e[2]
        syl = syllables(pinyin)
        if not syl or not HAN.match(simplified) or len(syl) != len(simplified):
            continue
        if len(simplified) == 1:
            readings[simplified].add(syl[0])
        elif 2 <= len(simplified) <= 4 and not any(s == 'r5' for s in syl):
            words[simplified].add(tuple(syl))
    polyphones = {c for c, r in readings.items() if len(r) > 1}
    chosen = sorted(w for w in words if any(c in polyphones for c in w))

    out = subprocess.run([sys.argv[2], 'pinyin', '--tone', 'numbers', '--lines', '--no-progress'],
                         input='\n'.join(chosen) + '\n', capture_output=True, text=True, check=True).stdout
    ours = out.split('\n')[:len(chosen)]

    def same(word, got, want):
        return len(got) == len(want) and all(
            g == w or (c in '一不' and g[:-1] == w[:-1]) for c, g, w in zip(word, got, want))

    right = 0
    syllables_right = syllables_all = 0
    misses = []
    for word, got in zip(chosen, ours):
        got = tuple(got.split())
        if any(same(word, got, r) for r in words[word]):
            right += 1
        else:
            misses.append((word, ' '.join(got), ' / '.join(' '.join(r) for r in sorted(words[word]))))
        # The polyphones' own syllables: right when some entry of the word reads it so.
        for i, c in enumerate(word):
            if c in polyphones:
                syllables_all += 1
                if i < len(got) and any(same(c, got[i:i + 1], r[i:i + 1]) for r in words[word]):
                    syllables_right += 1
    print(f'polyphone characters: {len(polyphones)}; polyphone words: {len(chosen)}')
    print(f'words read as CC-CEDICT reads them: {right} ({100.0 * right / len(chosen):.2f}%)')
    print(f'their polyphones read as CC-CEDICT reads them: {syllables_right} of {syllables_all} '
          f'({100.0 * syllables_right / syllables_all:.2f}%)')
    for word, got, want in misses[:show]:
        print(f'  {word}\tours {got}\tCC-CEDICT {want}')


if __name__ == '__main__':
    main()
