#!/usr/bin/env bash
# A man page renders without a single groff or man warning; with a program as $2, the page also
# names every command and option that the program's --help lists.
set -euo pipefail
page=$1
program=${2:-}

warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
    echo "FAIL: $page renders with warnings:" >&2
    echo "$warnings" >&2
    exit 1
fi
[ -n "$program" ] || exit 0

text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null)
missing=0
check() {
    if ! grep -qF -- "$1" <<<"$text"; then
        echo "FAIL: $page does not mention $1 (from $2)" >&2
        missing=1
    fi
}
# The commands: the lines after "Subcommands:" in the program's help (English: the help follows the
# locale).
export LC_ALL=C.UTF-8
commands=$("$program" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && /^  [a-z]/ {print $1}')
[ -n "$commands" ] || { echo "FAIL: no commands found in $program --help" >&2; exit 1; }
for command in $commands; do
    check "$command" "$program --help"
    for option in $("$program" "$command" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
        check "$option" "$program $command --help"
    done
done
exit $missing
