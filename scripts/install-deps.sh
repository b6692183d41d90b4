#!/usr/bin/env bash
# Installs the Debian 12 packages of the given groups that are missing; does
# nothing when they are all present.
#   program     build and run the program (the default)
#   test        the tests, benchmarks, sanitizer and fuzzing builds, and the
#               install checks (the Debian packages and lintian among them)
#   screenshot  scripts/screenshot.sh
set -euo pipefail
groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(program)
packages=()
for group in "${groups[@]}"; do
  case $group in
    program)
      packages+=(g++ cmake ninja-build pkg-config zlib1g-dev libdeflate-dev libfreetype-dev
                 qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
                 fonts-arphic-uming qt6-translations-l10n) ;;
    test)
      packages+=(libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev libpng-dev hyperfine time
                 xvfb xauth fonts-arphic-ukai
                 cups cups-bsd printer-driver-cups-pdf poppler-utils
                 clang-14 libclang-rt-14-dev clang-format
                 desktop-file-utils appstream groff-base dpkg-dev lintian) ;;
    screenshot)
      packages+=(xvfb xauth twm xdotool x11-apps x11-utils imagemagick) ;;
    *)
      echo "install-deps.sh: unknown group $group (program, test, screenshot)" >&2
      exit 64 ;;
  esac
done
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
