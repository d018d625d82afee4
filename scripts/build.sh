#!/usr/bin/env bash
# Builds the portable core natively and the tool itself for Windows, both under build/. Options
# go to the Windows build's configure step (e.g. -DKQ_FIRMWARE_DIR=/path/to/images). Given first,
# --end-to-end-programs builds only what the end-to-end tests run, so that they can start while
# the rest is built.
set -euo pipefail
cd "$(dirname "$0")/.."
target=all
[ "${1-}" = "--end-to-end-programs" ] && { target=kq_end_to_end_programs; shift; }
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native --target "$target"
# A refused firmware folder or change log stops the build here.
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" "$@" >build/configure-win.log
cmake --build build/win --target "$target"
# Say which firmware images and change log the tool embeds, and the digest of the set it embeds.
grep -hi "embedding" build/configure-win.log build/win/generated/firmware_set_digest.txt
# And whether the executable, as its version resource says, carries stand-ins.
python3 scripts/executable_resources.py build/win/RU_ZadorazUdizav.exe 2>&1 || true
echo "Built build/win/RU_ZadorazUdizav.exe"
