#!/bin/bash
# Installs the Debian packages the build, the program and the tests need (only those missing).
set -euo pipefail
PACKAGES=(cmake ninja-build g++ make googletest libgtest-dev
          wine wine64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
          fonts-wine xvfb xauth x11-apps imagemagick librsvg2-bin clang-format findutils)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
