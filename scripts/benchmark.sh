#!/usr/bin/env bash
# Builds the tool, the probe, the floor program, the check program and the native benchmark, then
# prints figures: the write run under Wine beside the floors of its file work, how long the window
# goes without answering during a run on a slow drive and beside a card whose root takes 3 s to
# answer, the native transfer beside its floor, drive arrival and start-up times, the check of the embedded payloads at start, the check of a stick
# beside its floor, the journal's cost, memory and GDI objects.
# Takes a few minutes. With --x64, the same figures of a 64-bit build of the same sources, its floor
# and probe programs built alike (build/win-x64), to set beside the x86 build's, which ships.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
win=build/win
if [ "${1-}" = "--x64" ]; then
  win=build/win-x64
  bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
fi
bash scripts/build.sh "$@" >/dev/null
# The benchmark programs are no part of a plain build.
cmake --build build/native --target kq_benchmarks >/dev/null
cmake --build "$win" --target kq_benchmarks >/dev/null
firmware=$(grep -E '^KQ_FIRMWARE_DIR:' $win/CMakeCache.txt | cut -d= -f2)
KQ_EXE="$PWD/$win/RU_ZadorazUdizav.exe" KQ_PROBE="$PWD/$win/tests/e2e/kq_probe.exe" \
  KQ_REAL_INPUTS_EXE="$PWD/$win/tests/kq_tool_from_real_inputs.exe" KQ_SCRIPTS="$PWD/scripts" \
  KQ_FLOOR="$PWD/$win/benchmarks/kq_io_floor.exe" KQ_INTEGRITY_CHECK="$PWD/$win/benchmarks/kq_integrity_check.exe" \
  KQ_FIRMWARE_SOURCE="${firmware:-$PWD/$win/standin-firmware}" \
  KQ_PAYLOAD_DIR="$PWD/payloads" KQ_NATIVE_BENCHMARK="$PWD/build/native/benchmarks/kq_transfer_benchmark" \
  KQ_JOURNAL_BENCHMARK="$PWD/build/native/benchmarks/kq_journal_benchmark" \
  KQ_CORRUPTING_DRIVE="$PWD/build/native/tests/kq_corrupting_drive" \
  timeout 1200 python3 benchmarks/benchmark.py
