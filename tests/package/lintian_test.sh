#!/usr/bin/env bash
# lintian on the package that package_test.sh built: no error. Warnings are printed.
set -euo pipefail
deb=$(ls "$1"/lanternfin_*.deb)
# The test tree is built without dpkg-buildflags (scripts/package.sh uses them), so its
# binaries lack the hardening that those flags add; that is not a fault of the package.
lintian --fail-on error --display-info --suppress-tags hardening-no-fortify-functions,hardening-no-relro,hardening-no-bindnow "$deb"
