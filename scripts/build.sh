#!/usr/bin/env bash
# Builds both Windows architectures: build/i686 (release) and build/x86_64 (runs under Wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

for arch in i686 x86_64; do
  dir="$root/build/$arch"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$arch-w64-mingw32.cmake" >/dev/null
  fi
  echo "== building $arch"
  cmake --build "$dir" -j "$jobs"
done
