#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests; the same tests, the Win32 adapter
# tests, the executable's tables and the signing tests under Wine and with osslsigncode; and the
# end-to-end tests of the real tool under Wine and Xvfb. Ends with one line "N passed, M failed"
# over all of them.
#
# The end-to-end tests mostly wait on Wine: they start as soon as the programs they run are built,
# and the rest of the build and the other tests run beside them at the lowest priority, on the
# processor time they leave.
set -uo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
stage() { echo "== $1 ($((SECONDS - started)) s)"; }
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
stage "installing what the build needs"
bash scripts/install-deps.sh --build || exit 1
stage "building what the end-to-end tests run; installing the rest beside it"
bash scripts/install-deps.sh >"$log/install.txt" 2>&1 &
installs=$!
bash scripts/build.sh --end-to-end-programs || { echo "0 passed, 1 failed"; exit 1; }
wait "$installs" || { cat "$log/install.txt"; echo "0 passed, 1 failed"; exit 1; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The unit tests' Wine prefix is booted while the rest is built.
tests_prefix="$PWD/build/wine-prefix-tests"
[ -d "$tests_prefix" ] || WINEPREFIX="$tests_prefix" nice -n 19 wineboot -i >/dev/null 2>&1 &
booting=$!
stage "end-to-end tests of the real tool started, their output follows at the end"
bash scripts/e2e.sh >"$log/e2e.txt" 2>&1 &
e2e=$!

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

stage "building the rest"
if nice -n 19 bash scripts/build.sh >"$log/build.txt" 2>&1; then
  tail -n 4 "$log/build.txt"
  stage "native unit tests"
  (cd build/native && nice -n 19 ctest -j "$(nproc)" --output-on-failure) | tee "$log/native.txt"
  count_ctest "$log/native.txt"

  stage "unit, adapter, table and signing tests under Wine"
  export WINEPREFIX="$tests_prefix"
  wait "$booting"
  # These tests have no display: Wine's null graphics driver still lets them make windows.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  # The server that change started ends a moment after it; one that lasts takes its place, or a
  # test could meet the first on its way out and find no server to talk to.
  wineserver -w
  wineserver -p 2>/dev/null
  wine cmd /c exit >/dev/null 2>&1
  # Each test is a Wine process that spends much of its life waiting on the Wine server.
  (cd build/win && nice -n 19 ctest -j "$((2 * $(nproc)))" --output-on-failure) | tee "$log/wine.txt"
  count_ctest "$log/wine.txt"
  wineserver -k 2>/dev/null
  unset WINEPREFIX
else
  cat "$log/build.txt"
  failed=$((failed + 1))
fi

stage "waiting for the end-to-end tests"
wait "$e2e"
cat "$log/e2e.txt"
counts=$(grep -E "^e2e: [0-9]+ passed, [0-9]+ failed" "$log/e2e.txt" | tail -n 1)
if [ -n "$counts" ]; then
  passed=$((passed + $(sed -E 's/e2e: ([0-9]+) passed.*/\1/' <<<"$counts")))
  failed=$((failed + $(sed -E 's/.* ([0-9]+) failed/\1/' <<<"$counts")))
else
  failed=$((failed + 1))
fi
stage "done"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
