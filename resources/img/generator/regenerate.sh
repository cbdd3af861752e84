#!/usr/bin/env bash
# Redraws the editor's images in resources/img from the generator beside this script.
# The same machine gives the same bytes on every run. Usage: regenerate.sh [MONTAGE.png]
set -euo pipefail
cd "$(dirname "$0")/../../.."
build=build/image-generator
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTQ_BUILD_IMAGE_GENERATOR=ON -DTQ_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target tq_image_generator -j "${JOBS:-6}"
args=(resources/img)
[ $# -gt 0 ] && args+=(--montage "$1")
"$build/resources/img/generator/tq_image_generator" "${args[@]}"
