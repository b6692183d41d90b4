#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need;
# does nothing when they are all present.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config zlib1g-dev libdeflate-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  xvfb xauth fonts-arphic-uming fonts-arphic-ukai
  cups cups-bsd printer-driver-cups-pdf poppler-utils
  clang-14 libclang-rt-14-dev
  hyperfine time
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
