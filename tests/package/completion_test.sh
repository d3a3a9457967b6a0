#!/usr/bin/env bash
# The bash completion of lanternfin-cli offers the commands, each command's options and values.
set -euo pipefail
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$1"

complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _lanternfin_cli lanternfin-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
    echo "${COMPREPLY[*]}"
}

failed=0
expect() {
    local want=$1
    shift
    local got
    got=$(complete_words "$@")
    if [ "$got" != "$want" ]; then
        echo "FAIL: '$*' completes to '$got', not '$want'" >&2
        failed=1
    fi
}
expect "money" lanternfin-cli mo
expect "traditional" lanternfin-cli tr
expect "--in-place" lanternfin-cli upper --in
expect "" lanternfin-cli ratio --in
expect "--tone" lanternfin-cli pinyin --ton
expect "marks" lanternfin-cli pinyin --tone m
expect "--lines" lanternfin-cli round 2 --li
expect "s2twp" lanternfin-cli convert -c s2twp
expect "--decode" lanternfin-cli money --dec
expect "bank" lanternfin-cli money --style b
expect "--capitals" lanternfin-cli numerals --cap
expect "--by-character" lanternfin-cli simplified --by
expect "numerals" lanternfin-cli nu
expect "--from-encoding" lanternfin-cli traditional --fr
expect "GB18030 GBK" lanternfin-cli convert --to-encoding GB
expect "--skip-existing" lanternfin-cli traditional --sk
expect "--no-progress" lanternfin-cli convert --no
expect "" lanternfin-cli round 2 --jo
exit $failed
