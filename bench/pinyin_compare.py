#!/usr/bin/env python3
"""Agreement of two pinyin_eval-format files, character by character.

   pinyin_compare.py TEXT OURS PEER [--show N]
Counts the characters both read; with tone (letters and tone) and without tone (letters only).
ü and v are the same letter; a tone 0, 5 or no digit is the neutral tone."""
import collections
import sys


def parse(line):
    out = {}
    for item in line.split():
        i, _, syl = item.partition(':')
        syl = syl.replace('ü', 'v').replace('u:', 'v')
        tone = syl[-1] if syl[-1:].isdigit() else '5'
        letters = syl[:-1] if syl[-1:].isdigit() else syl
        out[int(i)] = (letters, '5' if tone == '0' else tone)
    return out


def main():
    text, ours, peer = (open(p, encoding='utf-8').read().split('\n') for p in sys.argv[1:4])
    show = int(sys.argv[sys.argv.index('--show') + 1]) if '--show' in sys.argv else 0
    total = tone_ok = letters_ok = 0
    diffs = collections.Counter()
    for line, a, b in zip(text, ours, peer):
        pa, pb = parse(a), parse(b)
        chars = list(line)
        for i, rb in pb.items():
            ra = pa.get(i)
            if ra is None:
                continue
            total += 1
            if ra == rb:
                tone_ok += 1
            else:
                ctx = ''.join(chars[max(0, i - 2):i + 3])
                diffs[(chars[i], ra[0] + ra[1], rb[0] + rb[1], ctx)] += 1
            if ra[0] == rb[0]:
                letters_ok += 1
    print(f'characters compared: {total}')
    print(f'agreement with tone:    {100.0 * tone_ok / max(total, 1):.2f}%')
    print(f'agreement without tone: {100.0 * letters_ok / max(total, 1):.2f}%')
    if '--letters' in sys.argv:
        diffs = collections.Counter({k: n for k, n in diffs.items() if k[1][:-1] != k[2][:-1]})
    if show:
        by_char = collections.Counter()
        for (c, a, b, ctx), n in diffs.items():
            by_char[(c, a, b)] += n
        for (c, a, b), n in by_char.most_common(show):
            ex = [ctx for (c2, a2, b2, ctx) in diffs if (c2, a2, b2) == (c, a, b)][:3]
            print(f'{n:6d} {c} ours {a} peer {b}  {" ".join(ex)}')


main()
