#!/usr/bin/env bash
# Builds the Debian package from this build tree with CPack and checks what it holds, its control
# fields (Depends from dpkg-shlibdeps) and that its programs run.
set -euo pipefail
cpack=$1 build=$2 out=$3 version=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$out"
mkdir -p "$out"
"$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log"
    fail "cpack"
}
deb="$out/lanternfin_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$out")"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
expected=(
    ./usr/bin/lanternfin
    ./usr/bin/lanternfin-cli
    ./usr/share/applications/lanternfin.desktop
    ./usr/share/metainfo/io.github.lanternfin.Lanternfin.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/lanternfin.svg
    ./usr/share/man/man1/lanternfin.1.gz
    ./usr/share/man/man1/lanternfin-cli.1.gz
    ./usr/share/bash-completion/completions/lanternfin-cli
    ./usr/share/doc/lanternfin/copyright
    ./usr/share/doc/lanternfin/changelog.gz
)
for size in 16 32 48 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/lanternfin.png")
done
for path in "${expected[@]}"; do
    grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
outside=$(grep -vE '^\./(usr/?)?(bin/.*|share/.*)?$|^\./$' <<<"$contents" || true)
[ -z "$outside" ] || fail "files outside /usr/bin and /usr/share: $outside"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = lanternfin ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Recommends)" = fonts-noto-cjk ] || fail "Recommends: $(field Recommends)"
depends=$(field Depends)
for library in libopencc1.1 'libicu[0-9]+' libqt6widgets6 libqt6gui6 libqt6core6 libstdc\\+\\+6 libc6; do
    grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
done
# OpenCC's data is built in: the system's is not needed.
! grep -qE "(^|, )libopencc-data( |,|$)" <<<"$depends" || fail "Depends still names libopencc-data: $depends"
for config in s2t t2s s2tw tw2s s2hk hk2s s2twp tw2sp t2tw hk2t t2hk t2jp jp2t tw2t s2hkp hk2sp; do
    grep -q "usr/share/lanternfin/phrase/$config.lfimg" <<<"$contents" || fail "no built-in image of $config"
done

# The packaged programs run from where they were unpacked, and know their version.
dpkg-deb -x "$deb" "$out/root"
cli="$out/root/usr/bin/lanternfin-cli"
[ "$("$cli" --version)" = "lanternfin-cli $version" ] || fail "lanternfin-cli --version: $("$cli" --version)"
[ "$(printf 'Abc' | "$cli" upper)" = "ABC" ] || fail "the packaged lanternfin-cli does not convert"
file "$out/root/usr/bin/lanternfin" | grep -q ', stripped' || fail "lanternfin is not stripped"
echo "ok: $(basename "$deb"), Depends: $depends"
