#!/usr/bin/env bash
# Builds the Debian package build/lanternfin_<version>_amd64.deb with CPack: a Release build of
# its own (build/deb, with Debian's hardening flags from dpkg-buildflags, without the tests),
# then `cpack -G DEB`. Install it with: apt install ./build/lanternfin_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
cmake -S . -B build/deb -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build build/deb -j"$(nproc)"
(cd build/deb && cpack -G DEB)
deb=$(ls build/deb/lanternfin_*.deb)
cp "$deb" build/
echo "package.sh: build/$(basename "$deb")"
