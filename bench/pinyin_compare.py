#!/usr/bin/env python3
"""Agreement of our readings with peer libraries, character by character (pinyin_eval format).

   pinyin_compare.py TEXT OURS PEER:FILE [PEER:FILE ...] [--half tune|test] [--show N] [--letters]
Reports, on the characters every peer reads:
  - our agreement with each peer alone;
  - how often the peers disagree among themselves;
  - our agreement with the consensus: the characters where all peers give the same reading
    (with tone: same letters and tone; without tone: same letters), and with the majority reading.
--half tune keeps the even lines (0, 2, ...), --half test the odd ones: tune on one, report on the other.
--show N lists the N commonest differences from the unanimous peers (--majority: from the majority;
--letters: those in letters only).
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


def pct(n, d):
    return f'{100.0 * n / max(d, 1):6.2f}%'


def main():
    args = sys.argv[1:]
    opts = {}
    for name in ('--half', '--show'):
        if name in args:
            k = args.index(name)
            opts[name] = args[k + 1]
            del args[k:k + 2]
    letters_only = '--letters' in args
    by_majority = '--majority' in args
    args = [a for a in args if a not in ('--letters', '--majority')]
    text = open(args[0], encoding='utf-8').read().split('\n')
    ours = open(args[1], encoding='utf-8').read().split('\n')
    names, peers = [], []
    for peer_arg in args[2:]:
        name, _, path = peer_arg.rpartition(':')
        names.append(name or path)
        peers.append(open(path, encoding='utf-8').read().split('\n'))
    half = opts.get('--half')
    show = int(opts.get('--show', 0))

    total = 0
    alone = [[0, 0] for _ in names]          # ours == peer: [tone, letters]
    peers_differ = [0, 0]                    # peers not unanimous: [tone, letters]
    unanimous = [[0, 0], [0, 0]]             # [[compared, ours ok] tone, [compared, ok] letters]
    majority = [[0, 0], [0, 0]]
    peer_vs_majority = [[0, 0] for _ in names]
    diffs = collections.Counter()
    for n, line in enumerate(text):
        if n >= len(ours) or any(n >= len(p) for p in peers):
            break
        if half == 'tune' and n % 2 or half == 'test' and not n % 2:
            continue
        pa = parse(ours[n])
        pbs = [parse(p[n]) for p in peers]
        chars = list(line)
        context = lambda i: ''.join(chars[max(0, i - 2):i + 3])
        for i, ra in pa.items():
            rs = [pb.get(i) for pb in pbs]
            if any(r is None for r in rs):
                continue
            total += 1
            for k, r in enumerate(rs):
                alone[k][0] += ra == r
                alone[k][1] += ra[0] == r[0]
            for level, key in ((0, lambda r: r), (1, lambda r: r[0])):
                keys = [key(r) for r in rs]
                votes = collections.Counter(keys)
                top, count = votes.most_common(1)[0]
                if count < len(keys):
                    peers_differ[level] += 1
                else:
                    unanimous[level][0] += 1
                    unanimous[level][1] += key(ra) == top
                    if not by_majority and key(ra) != top and (level == 0) != letters_only:
                        diffs[(chars[i], ra[0] + ra[1], top if level else top[0] + top[1], context(i))] += 1
                if 2 * count > len(keys):
                    majority[level][0] += 1
                    majority[level][1] += key(ra) == top
                    if by_majority and key(ra) != top and (level == 0) != letters_only:
                        diffs[(chars[i], ra[0] + ra[1], top if level else top[0] + top[1], context(i))] += 1
                    if level == 0:
                        for k, key_k in enumerate(keys):
                            peer_vs_majority[k][0] += key_k == top
                            peer_vs_majority[k][1] += 1
    print(f'characters read by us and every peer: {total}' + (f' ({half} half)' if half else ''))
    print('                              with tone  without tone')
    for k, name in enumerate(names):
        print(f'ours vs {name:21s} {pct(alone[k][0], total)}    {pct(alone[k][1], total)}')
    print(f'peers not unanimous           {pct(peers_differ[0], total)}    {pct(peers_differ[1], total)}')
    print(f'ours vs unanimous peers       {pct(unanimous[0][1], unanimous[0][0])}    '
          f'{pct(unanimous[1][1], unanimous[1][0])}')
    print(f'ours vs peer majority         {pct(majority[0][1], majority[0][0])}    '
          f'{pct(majority[1][1], majority[1][0])}')
    for k, name in enumerate(names):
        print(f'  {name} vs peer majority: {pct(*peer_vs_majority[k])} with tone')
    if show:
        by_char = collections.Counter()
        for (c, a, b, ctx), n in diffs.items():
            by_char[(c, a, b)] += n
        for (c, a, b), n in by_char.most_common(show):
            ex = [ctx for (c2, a2, b2, ctx) in diffs if (c2, a2, b2) == (c, a, b)][:3]
            print(f'{n:6d} {c} ours {a} peers {b}  {" ".join(ex)}')


main()
