#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; does nothing when all of it is there.
set -euo pipefail
packages=(cmake ninja-build g++ googletest libbenchmark-dev python3 g++-mingw-w64-x86-64 wine wine64 fonts-wine
          xvfb xauth xdotool imagemagick x11-apps binutils-mingw-w64-x86-64 util-linux
          python3-cairo fonts-dejavu-core poppler-utils fuse3 libfuse3-dev pkg-config
          libxfixes3)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "Installing ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
