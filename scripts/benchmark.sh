#!/usr/bin/env bash
# Builds the tool, the probe, the floor program, the check program and the native benchmark, then
# prints figures: the write run under Wine beside the floors of its file work, how long the window
# goes without answering during a run on a slow drive, the native transfer beside its floor, drive
# arrival and start-up times, the check of the embedded payloads at start, the check of a stick
# beside its floor, the journal's cost, memory and GDI objects.
# Takes a few minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
firmware=$(grep -E '^KQ_FIRMWARE_DIR:' build/win/CMakeCache.txt | cut -d= -f2)
KQ_EXE="$PWD/build/win/RU_ZadorazUdizav.exe" KQ_PROBE="$PWD/build/win/tests/e2e/kq_probe.exe" \
  KQ_REAL_INPUTS_EXE="$PWD/build/win/tests/kq_tool_from_real_inputs.exe" KQ_SCRIPTS="$PWD/scripts" \
  KQ_FLOOR="$PWD/build/win/benchmarks/kq_io_floor.exe" KQ_INTEGRITY_CHECK="$PWD/build/win/benchmarks/kq_integrity_check.exe" \
  KQ_FIRMWARE_SOURCE="${firmware:-$PWD/build/win/standin-firmware}" \
  KQ_PAYLOAD_DIR="$PWD/payloads" KQ_NATIVE_BENCHMARK="$PWD/build/native/benchmarks/kq_transfer_benchmark" \
  KQ_JOURNAL_BENCHMARK="$PWD/build/native/benchmarks/kq_journal_benchmark" \
  KQ_CORRUPTING_DRIVE="$PWD/build/native/tests/kq_corrupting_drive" \
  timeout 1200 python3 benchmarks/benchmark.py
