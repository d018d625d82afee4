#!/usr/bin/env bash
# Builds the portable core natively and the tool itself for Windows, both under build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native
# A refused firmware folder or change log stops the build here.
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" "$@" >build/configure-win.log
cmake --build build/win
# Say which firmware images and change log the tool embeds, and the digest of the set it embeds.
grep -hi "embedding" build/configure-win.log build/win/generated/firmware_set_digest.txt
# And whether the executable, as its version resource says, carries stand-ins.
python3 scripts/executable_resources.py build/win/RU_ZadorazUdizav.exe 2>&1 || true
echo "Built build/win/RU_ZadorazUdizav.exe"
