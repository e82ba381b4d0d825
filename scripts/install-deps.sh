#!/usr/bin/env bash
# Installs the Debian packages this project needs and are missing.
# Idempotent and quiet when nothing is missing.
#
#   scripts/install-deps.sh          build, test and run (the default)
#   scripts/install-deps.sh bench    plus the libraries the benchmarks compare against
#   scripts/install-deps.sh fuzz     plus clang and its fuzzing runtime
set -euo pipefail

base=(
  build-essential cmake ninja-build pkg-config clang-format ccache
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  poppler-utils fonts-liberation2 fonts-dejavu-core locales
  xvfb xauth
  # the man pages' check, the package and the test of the installed package
  groff-base dpkg-dev lintian desktop-file-utils appstream
  shared-mime-info qt6-qpa-plugins x11-utils netpbm
)
bench=(libbenchmark-dev libassimp-dev libtinyobjloader-dev time)
fuzz=(clang-14 libclang-rt-14-dev)

want=("${base[@]}")
for group in "$@"; do
  case "$group" in
    base) ;;
    bench) want+=("${bench[@]}") ;;
    fuzz) want+=("${fuzz[@]}") ;;
    *) echo "install-deps: unknown group '$group' (base, bench, fuzz)" >&2; exit 2 ;;
  esac
done

missing=()
for pkg in "${want[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
