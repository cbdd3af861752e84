#!/usr/bin/env bash
# The main job: builds every module in all three builds (native, Windows x64, Windows x86).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
for preset in native-release win64 win32; do
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
echo "All builds done."
