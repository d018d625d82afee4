#!/usr/bin/env bash
# Installs what building, testing and signing need on Debian 12 (--tool: only what building the
# tool and running it under Wine need; or only the packages named), and unpacks Debian 12's own
# osslsigncode 2.5 under build/tools for the signing test, whatever version is installed; does
# nothing when all of it is there. The tool is a 32-bit program: it is built with the i686
# MinGW-w64 compilers and runs under 32-bit Wine, which comes from the i386 architecture.
set -euo pipefail
cd "$(dirname "$0")/.."
# 32-bit Wine's display driver loads the X extensions' libraries of its own architecture where it
# finds them; without Xcursor, for one, the tool's wait pointer is not the one Windows shows.
tool=(cmake ninja-build googletest python3 python3-cairo fonts-dejavu-core g++-mingw-w64-i686-posix
      binutils-mingw-w64-i686 wine wine64 wine32:i386 libxcursor1:i386 libxrender1:i386 libxrandr2:i386
      libxi6:i386 libxfixes3:i386 libxinerama1:i386 libxcomposite1:i386 fonts-wine xvfb xauth)
packages=("${tool[@]}" g++ libgtest-dev libbenchmark-dev xdotool imagemagick x11-apps util-linux poppler-utils python3-markdown fuse3
          libfuse3-dev pkg-config libxfixes3 openssl osslsigncode softhsm2 libengine-pkcs11-openssl ntfs-3g locales)
# The PDF viewer the run command's Wine prefix opens the list of changes in; no test needs it.
viewer=(mupdf)
old_osslsigncode=build/tools/osslsigncode-2.5-4
if [ "${1-}" = "--tool" ]; then
  packages=("${tool[@]}" "${viewer[@]}")
  old_osslsigncode=""
elif [ $# -gt 0 ]; then
  packages=("$@")
  old_osslsigncode=""
fi
missing() {
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || echo "$package"
  done
}
mapfile -t absent < <(missing)
if [ ${#absent[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${absent[*]} (run as root to install them)" >&2
    exit 1
  fi
  echo "Installing ${absent[*]}"
  if [[ " ${absent[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${absent[@]}" >/dev/null; then
    # Say which of them this machine's package sources cannot give.
    for package in $(missing); do
      apt-get install -s -qq --no-install-recommends "$package" >/dev/null 2>&1 ||
        echo "install-deps.sh: cannot install the package $package from this machine's package sources" >&2
    done
    echo "install-deps.sh: still missing: $(missing | paste -sd " ")" >&2
    exit 1
  fi
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
