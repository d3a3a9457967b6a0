#!/usr/bin/env python3
"""Writes the oracle of the phrase conversion: for each of OpenCC's 16 stock configurations, a trap
text made from that configuration's own dictionaries (traps/NAME.txt) and what OpenCC's own
`opencc` command makes of it and of the shared text common.txt (expected/NAME.txt,
expected/NAME.common.txt). Run it only to renew the oracle, with the release that data/opencc holds:

    tests/data/opencc/make_oracle.py PREFIX

where PREFIX is where OpenCC's own build of that release is installed (PREFIX/bin/opencc,
PREFIX/share/opencc). The texts are made from a fixed seed, so that they stay the same."""
import json, os, random, subprocess, sys

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", "..", ".."))
data = os.path.join(root, "data", "opencc")
CONFIGS = ["s2t", "t2s", "s2tw", "tw2s", "s2hk", "hk2s", "s2twp", "tw2sp", "t2tw", "hk2t", "t2hk", "t2jp",
           "jp2t", "tw2t", "s2hkp", "hk2sp"]


def dict_files(node, out):
    if node.get("type") == "group":
        for d in node["dicts"]:
            dict_files(d, out)
    elif "file" in node:
        out.append(node["file"].rsplit(".", 1)[0])


def entries(stem):
    for folder in ("dictionary", "generated"):
        path = os.path.join(data, folder, stem + ".txt")
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                for line in f:
                    line = line.rstrip("\n").rstrip("\r")
                    if line and not line.startswith("#") and "\t" in line:
                        key, values = line.split("\t", 1)
                        yield key, values.split(" ")
            return
    raise SystemExit("no dictionary " + stem)


# Ideographic descriptions: complete ones (some nested, some with characters that would convert),
# incomplete ones, and one whose last part is a line break.
DESCRIPTIONS = ["⿰氵青", "⿱艹⿰日月", "⿲彳亍亍", "⿰发面", "⿰發麵", "⿸广黄", "⿾干", "⿰⿱⿰⿱⿰⿱⿰⿱⿰⿱⿰⿱⿰⿱⿰⿱一二三四五六七八九",
                "⿰", "⿲发", "⿰\n", "⿱台\n", "⿰头发头发", "⿻"]
EXTRAS = ["\n", "\r\n", "\n\n", " ", "ab", "𠮷", "𪚥", "，", "。", "1", "\t", "️", "︀", "丽", "\U0002F800",
          "乾隆", "干", "后", "面", "发"]


def trap_text(config, rng):
    with open(os.path.join(data, "config", config + ".json"), encoding="utf-8") as f:
        conf = json.load(f)
    files = []
    if "segmentation" in conf:
        dict_files(conf["segmentation"]["dict"], files)
    for step in conf["conversion_chain"] + conf.get("normalization", []):
        dict_files(step["dict"], files)
    pool = []
    for stem in sorted(set(files)):
        pool.extend(entries(stem))
    compat = [k for k, _ in entries("CJK_Compatibility_Ideographs")]
    parts = []
    for _ in range(6000):
        r = rng.random()
        key, values = rng.choice(pool)
        if r < 0.35:
            parts.append(key)
        elif r < 0.6:
            parts.append(rng.choice(values))
        elif r < 0.7:
            parts.append(key[0])
        elif r < 0.75:
            parts.append(key[: max(1, len(key) - 1)])
        elif r < 0.8:
            parts.append(rng.choice(compat))
        elif r < 0.85:
            parts.append(rng.choice(DESCRIPTIONS))
        else:
            parts.append(rng.choice(EXTRAS))
    return "".join(parts) + "⿰氵"


def run(prefix, config, text):
    env = dict(os.environ, LD_LIBRARY_PATH=os.path.join(prefix, "lib"))
    out = subprocess.run([os.path.join(prefix, "bin", "opencc"), "-c",
                          os.path.join(prefix, "share", "opencc", config + ".json")],
                         input=text.encode("utf-8"), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         env=env, check=True)
    return out.stdout


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    prefix = sys.argv[1]
    os.makedirs(os.path.join(here, "traps"), exist_ok=True)
    os.makedirs(os.path.join(here, "expected"), exist_ok=True)
    with open(os.path.join(here, "common.txt"), encoding="utf-8") as f:
        common = f.read()
    for i, config in enumerate(CONFIGS):
        text = trap_text(config, random.Random(1000 + i))
        with open(os.path.join(here, "traps", config + ".txt"), "w", encoding="utf-8", newline="") as f:
            f.write(text)
        with open(os.path.join(here, "expected", config + ".txt"), "wb") as f:
            f.write(run(prefix, config, text))
        with open(os.path.join(here, "expected", config + ".common.txt"), "wb") as f:
            f.write(run(prefix, config, common))


main()
