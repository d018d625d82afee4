#!/usr/bin/env bash
# Builds the tool twice from scratch, from two copies of the sources in two different folders,
# and compares the two executables byte for byte: the same sources and inputs must give the same
# bytes. Takes two builds' time, so it is not part of scripts/test.sh. Options are passed to the
# configure step of both builds (e.g. -DKQ_FIRMWARE_DIR=/path/to/images).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
work=$(mktemp -d /tmp/kq-reproduce-XXXXXX)
trap 'rm -rf "$work"' EXIT
executables=()
for folder in first second-copy/somewhere-else; do
  sources="$work/$folder/sources"
  mkdir -p "$sources"
  # The working tree as it stands, whatever of it is not ignored, committed or not.
  git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$sources"
  echo "== building in $sources"
  cmake -S "$sources" -B "$sources/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$sources/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
  cmake --build "$sources/build" --target RU_ZadorazUdizav >/dev/null
  executables+=("$sources/build/RU_ZadorazUdizav.exe")
done
sha256sum "${executables[@]}"
if cmp "${executables[@]}"; then
  echo "reproducible: the two builds are byte for byte the same"
else
  echo "NOT reproducible: the two builds differ"
  exit 1
fi
