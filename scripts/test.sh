#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, the same tests and the Win32
# adapter tests under Wine, then the end-to-end tests of the real tool under Wine and Xvfb.
# Ends with one line "N passed, M failed" over all of them.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1
bash scripts/build.sh || { echo "0 passed, 1 failed"; exit 1; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

passed=0
failed=0
count_ctest() {  # reads ctest's summary line: "NN% tests passed, F tests failed out of T"
  local summary total bad
  summary=$(grep -E "tests failed out of" "$1" | tail -n 1)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
  if [ -z "$summary" ]; then total=1; bad=1; fi
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}
log=$(mktemp -d)

echo "== native unit tests"
(cd build/native && ctest --output-on-failure) | tee "$log/native.txt"
count_ctest "$log/native.txt"

echo "== unit and adapter tests under Wine"
export WINEPREFIX="$PWD/build/wine-prefix-tests"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wineserver -p 2>/dev/null
wine cmd /c exit >/dev/null 2>&1
(cd build/win && ctest --output-on-failure) | tee "$log/wine.txt"
count_ctest "$log/wine.txt"
wineserver -k 2>/dev/null
unset WINEPREFIX

echo "== end-to-end tests of the real tool"
# As root Wine lets through writes that Windows refuses, so the tool runs as an ordinary user,
# from a copy of what it needs that this user can read wherever the checkout lives.
e2e=$(mktemp -d /tmp/kq-e2e-run-XXXXXX)
cp -r tests/e2e "$e2e/scripts"
mkdir -p "$e2e/bin"
cp build/win/RU_ZadorazUdizav.exe build/win/tests/e2e/kq_probe.exe build/native/tests/kq_corrupting_drive "$e2e/bin/"
firmware=$(grep -E '^KQ_FIRMWARE_DIR:' build/win/CMakeCache.txt | cut -d= -f2)
cp -r "${firmware:-build/win/standin-firmware}" "$e2e/firmware"
cp -r payloads "$e2e/payloads"
changes=$(grep -E '^KQ_CHANGES_PDF:' build/win/CMakeCache.txt | cut -d= -f2)
cp "${changes:-build/win/generated/Changes.pdf}" "$e2e/bin/Changes.pdf"
chmod -R a+rX "$e2e"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  id kqtester >/dev/null 2>&1 || useradd --create-home --shell /bin/bash kqtester
  run_as=(runuser -u kqtester --)
  # The corrupting drive is a FUSE mount made by that user through fusermount3, which opens
  # /dev/fuse as the user. udev gives the device mode 0666; without udev it stays 0600.
  [ -c /dev/fuse ] && chmod 0666 /dev/fuse
fi
"${run_as[@]}" env KQ_EXE="$e2e/bin/RU_ZadorazUdizav.exe" KQ_PROBE="$e2e/bin/kq_probe.exe" \
  KQ_FIRMWARE_SOURCE="$e2e/firmware" KQ_PAYLOAD_DIR="$e2e/payloads" KQ_CHANGES_PDF="$e2e/bin/Changes.pdf" \
  KQ_CORRUPTING_DRIVE="$e2e/bin/kq_corrupting_drive" \
  timeout 900 /usr/bin/python3 "$e2e/scripts/run_e2e.py" 2>&1 | tee "$log/e2e.txt"
counts=$(grep -E "^e2e: [0-9]+ passed, [0-9]+ failed" "$log/e2e.txt" | tail -n 1)
if [ -n "$counts" ]; then
  passed=$((passed + $(sed -E 's/e2e: ([0-9]+) passed.*/\1/' <<<"$counts")))
  failed=$((failed + $(sed -E 's/.* ([0-9]+) failed/\1/' <<<"$counts")))
else
  failed=$((failed + 1))
fi
rm -rf "$e2e" "$log"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
