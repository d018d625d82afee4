#!/usr/bin/env bash
# Runs the end-to-end tests of the built tool under Wine and Xvfb (all of them, or those named,
# e.g. test_main_window or test_tool.ToolTest.test_older_set_is_replaced_whole). Expects
# scripts/build.sh to have run. Ends with a line "e2e: N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/.."
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# As root Wine lets through writes that Windows refuses, so the tool runs as an ordinary user,
# from a copy of what it needs that this user can read wherever the checkout lives.
e2e=$(mktemp -d /tmp/kq-e2e-run-XXXXXX)
cp -r tests/e2e "$e2e/scripts"
cp firmware/catalogue.py firmware/catalogue.txt "$e2e/scripts/"
# The maker's scripts, with the file that sets the version where scripts/project_version.py reads it.
cp -r scripts "$e2e/maker-scripts"
cp CMakeLists.txt "$e2e/"
mkdir -p "$e2e/bin"
cp build/win/RU_ZadorazUdizav.exe build/win/tests/kq_tool_from_real_inputs.exe build/win/tests/e2e/kq_probe.exe \
  build/win/tests/e2e/planted.dll build/native/tests/kq_corrupting_drive "$e2e/bin/"
firmware=$(grep -E '^KQ_FIRMWARE_DIR:' build/win/CMakeCache.txt | cut -d= -f2)
cp -r "${firmware:-build/win/standin-firmware}" "$e2e/firmware"
cp -r payloads "$e2e/payloads"
changes=$(grep -E '^KQ_CHANGES_PDF:' build/win/CMakeCache.txt | cut -d= -f2)
cp "${changes:-build/win/generated/Changes.pdf}" "$e2e/bin/Changes.pdf"
# Whoever runs the tests, and no one else, may read what they are given.
chmod -R go-rwx "$e2e"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  id kqtester >/dev/null 2>&1 || useradd --create-home --shell /bin/bash kqtester
  chown -R kqtester: "$e2e"
  run_as=(runuser -u kqtester --)
  # The corrupting drive is a FUSE mount made by that user through fusermount3, which opens
  # /dev/fuse as the user. udev gives the device mode 0666; without udev it stays 0600.
  [ -c /dev/fuse ] && chmod 0666 /dev/fuse
fi
"${run_as[@]}" env KQ_EXE="$e2e/bin/RU_ZadorazUdizav.exe" KQ_REAL_INPUTS_EXE="$e2e/bin/kq_tool_from_real_inputs.exe" \
  KQ_PROBE="$e2e/bin/kq_probe.exe" \
  KQ_FIRMWARE_SOURCE="$e2e/firmware" KQ_PAYLOAD_DIR="$e2e/payloads" KQ_CHANGES_PDF="$e2e/bin/Changes.pdf" \
  KQ_CORRUPTING_DRIVE="$e2e/bin/kq_corrupting_drive" KQ_PLANTED_LIBRARY="$e2e/bin/planted.dll" \
  KQ_SCRIPTS="$e2e/maker-scripts" \
  timeout 900 /usr/bin/python3 "$e2e/scripts/run_e2e.py" "$@"
status=$?
rm -rf "$e2e"
exit $status
