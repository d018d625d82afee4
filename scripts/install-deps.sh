#!/usr/bin/env bash
# Installs what building, testing and signing need on Debian 12 (--build: only what building
# everything needs, the first of the test command's two waves; --tool: only what building the tool
# and running it under Wine need; or only the packages named), and unpacks Debian 12's own
# osslsigncode 2.5 under build/tools for the signing test, whatever version is installed; does
# nothing when all of it is there. The tool is a 32-bit program: it is built with the i686
# MinGW-w64 compilers and runs under 32-bit Wine, which comes from the i386 architecture. Two of
# these may run at once: each waits for the other's hold on the package system.
set -euo pipefail
cd "$(dirname "$0")/.."
# 32-bit Wine's display driver loads the X extensions' libraries of its own architecture where it
# finds them; without Xcursor, for one, the tool's wait pointer is not the one Windows shows.
builds_tool=(cmake ninja-build googletest python3 python3-cairo fonts-dejavu-core g++-mingw-w64-i686-posix
             binutils-mingw-w64-i686)
runs_tool=(wine wine64 wine32:i386 libxcursor1:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386
           libxfixes3:i386 libxinerama1:i386 libxcomposite1:i386 fonts-wine xvfb xauth)
builds_all=("${builds_tool[@]}" g++ libgtest-dev libbenchmark-dev python3-markdown libfuse3-dev pkg-config)
packages=("${builds_all[@]}" "${runs_tool[@]}" xdotool imagemagick x11-apps util-linux poppler-utils fuse3
          libxfixes3 openssl osslsigncode softhsm2 libengine-pkcs11-openssl ntfs-3g locales)
# The PDF viewer the run command's Wine prefix opens the list of changes in; no test needs it.
viewer=(mupdf)
old_osslsigncode=build/tools/osslsigncode-2.5-4
if [ "${1-}" = "--tool" ]; then
  packages=("${builds_tool[@]}" "${runs_tool[@]}" "${viewer[@]}")
  old_osslsigncode=""
elif [ "${1-}" = "--build" ]; then
  packages=("${builds_all[@]}")
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
  # Added ahead of need by the first wave too, so that one update of the lists serves both.
  if [[ " ${absent[*]} ${1-}" == *":i386"* || "${1-}" == "--build" ]] &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt=(apt-get -qq -o DPkg::Lock::Timeout=600)
  # Lists brought up to date a moment ago, by the first wave, serve the second.
  if [ -z "$(find /var/lib/apt/lists -maxdepth 1 -name '*i386_Packages*' -mmin -30 2>/dev/null | head -n 1)" ]; then
    "${apt[@]}" update
  fi
  if ! DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y --no-install-recommends "${absent[@]}" >/dev/null; then
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
  fetch 2>/dev/null || { apt-get update -qq -o DPkg::Lock::Timeout=600 && fetch; }
  mkdir -p "$old_osslsigncode"
  dpkg-deb -x "$download"/osslsigncode_2.5-4_*.deb "$old_osslsigncode"
fi
