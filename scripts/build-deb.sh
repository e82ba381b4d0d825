#!/usr/bin/env bash
# Builds the Debian package build/tessvane_<version>_<arch>.deb from the package
# preset (optimised, hardened, installed under /usr) and prints its path as the
# last line. make deb and the installed-package test both build it this way.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset package >/dev/null
cmake --build --preset package -j "${JOBS:-2}"
rm -rf build/package/cpack
cpack --config build/package/CPackConfig.cmake -B build/package/cpack
deb=$(find build/package/cpack -maxdepth 1 -name 'tessvane_*.deb')
if [[ $(wc -l <<<"$deb") -ne 1 || -z "$deb" ]]; then
  echo "build-deb: expected one package in build/package/cpack, found: ${deb:-none}" >&2
  exit 1
fi
rm -f build/tessvane_*.deb
mv "$deb" build/
echo "$PWD/build/$(basename "$deb")"
