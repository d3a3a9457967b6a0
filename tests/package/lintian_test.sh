#!/usr/bin/env bash
# lintian on the package that package_test.sh built: no error; warnings and notes are printed.
set -euo pipefail
deb=$(ls "$1"/lanternfin_*.deb)
lintian --fail-on error --display-info "$deb"
