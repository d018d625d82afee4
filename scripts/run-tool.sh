#!/usr/bin/env bash
# Builds the tool and starts it under Wine, with the folder build/usb-drive mapped as the
# removable drive E: so a whole run can be tried without a USB stick, and with the list of changes
# and the journal opening in a PDF viewer and Notepad. Installs and builds what the tool needs and
# nothing of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --tool
bash scripts/build.sh --tool
export WINEPREFIX="$PWD/build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p build/usb-drive
if [ ! -d "$WINEPREFIX" ]; then
  echo "Making the Wine prefix build/wine-prefix (E: = build/usb-drive, removable)"
  python3 tests/e2e/wine_prefix.py "$WINEPREFIX" "e=removable:$PWD/build/usb-drive"
fi
# On every start, so that a prefix made before, or a viewer installed or removed since, is followed.
python3 scripts/wine_documents.py "$WINEPREFIX"
if [ -z "${DISPLAY:-}" ]; then
  display=:77
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  trap 'kill $!' EXIT
  export DISPLAY=$display
  echo "No display here: the tool runs on the virtual display $display."
  echo "To see it, from another shell: DISPLAY=$display import -window root window.png"
  echo "(or serve it with x11vnc -display $display and connect a VNC viewer)."
fi
echo "Starting build/win/RU_ZadorazUdizav.exe; files written to E: land in build/usb-drive/"
wine build/win/RU_ZadorazUdizav.exe
