#!/usr/bin/env bash
# Builds the portable core natively and the tool itself for Windows, both under build/. Options
# go to the Windows build's configure step (e.g. -DKQ_FIRMWARE_DIR=/path/to/images). Given first,
# --end-to-end-programs builds only what the end-to-end tests run, so that they can start while
# the rest is built; --tool builds the tool alone, nothing native; --x64 builds everything for
# 64-bit Windows into build/win-x64 instead, which only the benchmark's side-by-side figures use:
# the tool ships as the x86 build.
set -euo pipefail
cd "$(dirname "$0")/.."
target=all native=1 win=build/win toolchain=cmake/mingw-w64-i686.cmake
case "${1-}" in
  --end-to-end-programs) target=kq_end_to_end_programs; shift ;;
  --tool) target=RU_ZadorazUdizav native=""; shift ;;
  --x64) win=build/win-x64 toolchain=cmake/mingw-w64-x86_64.cmake; shift ;;
esac
if [ -n "$native" ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/native --target "$target"
fi
# A refused firmware folder or change log stops the build here.
mkdir -p build
cmake -S . -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain" "$@" >"$win-configure.log"
cmake --build "$win" --target "$target"
# Say which firmware images and change log the tool embeds, and the digest of the set it embeds.
grep -hi "embedding" "$win-configure.log" "$win/generated/firmware_set_digest.txt"
# And whether the executable, as its version resource says, carries stand-ins.
python3 scripts/executable_resources.py "$win/RU_ZadorazUdizav.exe" 2>&1 || true
echo "Built $win/RU_ZadorazUdizav.exe"
