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
bash scripts/e2e.sh 2>&1 | tee "$log/e2e.txt"
counts=$(grep -E "^e2e: [0-9]+ passed, [0-9]+ failed" "$log/e2e.txt" | tail -n 1)
if [ -n "$counts" ]; then
  passed=$((passed + $(sed -E 's/e2e: ([0-9]+) passed.*/\1/' <<<"$counts")))
  failed=$((failed + $(sed -E 's/.* ([0-9]+) failed/\1/' <<<"$counts")))
else
  failed=$((failed + 1))
fi
rm -rf "$log"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
