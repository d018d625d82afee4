#!/usr/bin/env bash
# Builds the tool twice from scratch, from two copies of the committed sources in two different
# folders, and compares the two executables byte for byte: the same sources and inputs must give
# the same bytes. Takes two builds' time, so it is not part of scripts/test.sh. Options are passed
# to the configure step of both builds (e.g. -DKQ_FIRMWARE_DIR=/path/to/images).
#
# It refuses a tree with uncommitted changes or untracked files, which no commit names, unless
# given --allow-dirty first. Each build records the commit in its BUILDINFO.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
allow_dirty=""
[ "${1-}" = "--allow-dirty" ] && { allow_dirty=1; shift; }
commit=$(git rev-parse HEAD 2>/dev/null) || { echo "reproduce.sh: $PWD is no git checkout" >&2; exit 1; }
changes=$(git status --porcelain --untracked-files=all)
if [ -n "$changes" ] && [ -z "$allow_dirty" ]; then
  echo "reproduce.sh: the tree differs from commit $commit (git status lists what); commit or remove it, or give --allow-dirty" >&2
  exit 1
fi
dirty=OFF
[ -z "$changes" ] || dirty=ON
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
    -DCMAKE_TOOLCHAIN_FILE="$sources/cmake/mingw-w64-i686.cmake" \
    -DKQ_SOURCE_COMMIT="$commit" -DKQ_SOURCE_DIRTY=$dirty "$@" >/dev/null
  cmake --build "$sources/build" --target kq_build_info >/dev/null
  executables+=("$sources/build/RU_ZadorazUdizav.exe")
done
sha256sum "${executables[@]}"
if cmp "${executables[@]}"; then
  echo "reproducible: the two builds are byte for byte the same"
  grep -E "^(commit|tree|set|executable)" "$work/first/sources/build/BUILDINFO.txt"
else
  echo "NOT reproducible: the two builds differ"
  exit 1
fi
