#!/usr/bin/env bash
# Installs the Debian 12 packages that Lanternfin needs to build, test and run,
# but only those that are missing. Runs as root or through sudo.
set -euo pipefail

PACKAGES=(
    build-essential
    cmake
    pkg-config
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    libicu-dev
    libopencc-data
    libopencc-dev
    opencc
    rime-data-terra-pinyin
    rime-data-pinyin-simp
    unicode-data
    python3-jieba
    bzip2
    nlohmann-json3-dev
    libzip-dev
    zlib1g-dev
    zip
    unzip
    qt6-base-dev
    libxcb1-dev
    qt6-wayland
    qt6-translations-l10n
    fonts-noto-cjk
    xvfb
    openbox
    xfwm4
    dbus-daemon
    trayer
    xdotool
    xclip
    x11-utils
    imagemagick
    weston
    xwayland
    clang
    libclang-rt-14-dev
    libcli11-dev
    scdoc
    librsvg2-bin
    dpkg-dev
    file
    desktop-file-utils
    appstream
    lintian
    man-db
    bash-completion
    parallel
    bsdutils
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
