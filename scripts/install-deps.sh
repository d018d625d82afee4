#!/usr/bin/env bash
# Installs what building, testing and signing need on Debian 12, or only the packages named, and
# unpacks Debian 12's own osslsigncode 2.5 under build/tools for the signing test, whatever
# version is installed; does nothing when all of it is there.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(cmake ninja-build g++ googletest libbenchmark-dev python3 g++-mingw-w64-x86-64 wine wine64 fonts-wine
          xvfb xauth xdotool imagemagick x11-apps binutils-mingw-w64-x86-64 util-linux
          python3-cairo python3-markdown fonts-dejavu-core poppler-utils fuse3 libfuse3-dev pkg-config
          libxfixes3 openssl osslsigncode softhsm2 libengine-pkcs11-openssl ntfs-3g)
old_osslsigncode=build/tools/osslsigncode-2.5-4
[ $# -eq 0 ] || { packages=("$@"); old_osslsigncode=""; }
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  echo "Installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ -n "$old_osslsigncode" ] && [ ! -x "$old_osslsigncode/usr/bin/osslsigncode" ]; then
  echo "Unpacking osslsigncode 2.5-4 into $old_osslsigncode"
  download=$(mktemp -d)
  trap 'rm -rf "$download"' EXIT
  # The package lists may predate it on a machine that installed nothing above.
  fetch() { (cd "$download" && apt-get download -qq -o APT::Sandbox::User=root osslsigncode=2.5-4); }
  fetch 2>/dev/null || { apt-get update -qq && fetch; }
  mkdir -p "$old_osslsigncode"
  dpkg-deb -x "$download"/osslsigncode_2.5-4_*.deb "$old_osslsigncode"
fi
