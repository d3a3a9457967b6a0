#!/usr/bin/env bash
# The EPUB fixture still passes epubcheck once converted, where it passed before: converted s2twp
# by lanternfin-cli (one conversion: epubcheck takes seconds of java). Skipped (77) where epubcheck is not installed (the
# Debian package, or EPUBCHECK_JAR naming its jar; java runs it), or where the fixture itself fails.
# Usage: epub_checks.sh LANTERNFIN_CLI FIXTURE_DIR
set -euo pipefail
cli=$1
fixtures=$2
# Debian's /usr/bin/epubcheck is a link to the jar, run only where binfmt knows jars: the jar is
# run by java itself.
jar=${EPUBCHECK_JAR:-/usr/share/java/epubcheck.jar}
if [ -f "$jar" ] && command -v java >/dev/null; then
    check=(java -jar "$jar")
else
    echo "epubcheck not installed: skipped"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fixture="$fixtures/sample-pandoc.epub"
if ! timeout 120 "${check[@]}" "$fixture" >"$tmp/before.log" 2>&1; then
    echo "the fixture fails epubcheck before any conversion: skipped"
    cat "$tmp/before.log"
    exit 77
fi
for config in s2twp; do
    "$cli" convert -c "$config" "$fixture" -o "$tmp/$config.epub"
    if ! timeout 120 "${check[@]}" "$tmp/$config.epub" >"$tmp/$config.log" 2>&1; then
        echo "epubcheck fails the $config conversion, which it passed before:"
        cat "$tmp/$config.log"
        exit 1
    fi
done
echo "epubcheck passes the EPUB before and after conversion"
