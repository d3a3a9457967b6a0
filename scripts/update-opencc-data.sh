#!/usr/bin/env bash
# Replaces data/opencc/ with the data of an OpenCC release: its text dictionaries and 16
# configurations as they are in the source tree, the dictionaries that OpenCC's own build generates
# (taken as text from that build's data/ folder), its licence, and a VERSION file.
#
#   scripts/update-opencc-data.sh SRC BUILD VERSION
#
# SRC: the release exported from OpenCC's repository, e.g.
#   git -C OpenCC archive ver.1.4.1 -- . ':!plugins' | tar -x -C SRC
# BUILD: OpenCC's own CMake build of SRC (cmake -S SRC -B BUILD -DCMAKE_BUILD_TYPE=Release
#   -DBUILD_OPENCC_JIEBA_PLUGIN=OFF && cmake --build BUILD), whose data/ holds the generated *.txt.
# VERSION: the release tag, e.g. ver.1.4.1.
# Then rebuild: the images of the 16 configurations are made from data/opencc/ at build time.
set -euo pipefail
[ $# -eq 3 ] || { sed -n '2,15p' "$0"; exit 2; }
src=$1 build=$2 version=$3
here=$(cd "$(dirname "$0")/.." && pwd)
out=$here/data/opencc
generated=(STPhrases_GeneratedFromRegionalPhrases TSCharactersExt TWVariantsRev HKVariantsRev JPShinjitaiCharactersRev)
for g in "${generated[@]}"; do
    [ -s "$build/data/$g.txt" ] || { echo "missing $build/data/$g.txt: build OpenCC first" >&2; exit 1; }
done
rm -rf "$out/config" "$out/dictionary" "$out/generated"
mkdir -p "$out/config" "$out/dictionary" "$out/generated"
cp "$src"/data/config/[a-z0-9]*2*.json "$out/config/"
cp "$src"/data/dictionary/*.txt "$out/dictionary/"
for g in "${generated[@]}"; do
    cp "$build/data/$g.txt" "$out/generated/"
done
cp "$src/LICENSE" "$out/LICENSE"
# OpenCC's own test cases of the release, kept as test data (trailing commas removed for a strict
# JSON reader).
mkdir -p "$here/tests/data/opencc"
python3 - "$src/test/testcases/testcases.json" "$here/tests/data/opencc/testcases.json" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
open(sys.argv[2], "w", encoding="utf-8").write(re.sub(r",(\s*[\]}])", r"\1", text))
PY
{
    echo "OpenCC $version"
    echo "source: https://github.com/BYVoid/OpenCC/tree/$version (data/config, data/dictionary, LICENSE)"
    echo "generated/: written by OpenCC's own build of that tag (its data/ folder)"
} > "$out/VERSION"
echo "data/opencc now holds OpenCC $version; rebuild to make the images"
