#!/usr/bin/env bash
# Builds the portable core natively and the tool itself for Windows, both under build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native
# Say which firmware images and change log the tool embeds; a refused input stops the build.
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" "$@" >build/configure-win.log
grep -i "embedding" build/configure-win.log || true
cmake --build build/win
echo "Built build/win/RU_ZadorazUdizav.exe"
