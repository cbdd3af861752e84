#!/usr/bin/env bash
# Runs every test: the code style check, the native tests under AddressSanitizer +
# UndefinedBehaviorSanitizer (with the replays of the fuzzers' committed inputs), the test
# of the host's threads under ThreadSanitizer, and the Windows builds (x86 and x64) with
# their tests under Wine. JOBS sets how many compilers run at once (default: one per core).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

echo "== code style =="
tools/format.sh --check

echo "== native (ASan + UBSan) =="
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset native

echo "== native threads (ThreadSanitizer) =="
cmake --preset native-tsan >/dev/null
cmake --build --preset native-tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1 ctest --preset native-tsan

echo "== win32 build and Wine tests =="
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
tools/with-display.sh tools/wine-ctest.sh build/win32

echo "== win64 build and Wine tests =="
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
tools/with-display.sh tools/wine-ctest.sh build/win64
