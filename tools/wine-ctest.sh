#!/usr/bin/env bash
# Runs a Windows build's ctest under Wine: prepares the build's private prefix once, so the
# parallel tests do not race to create it. Usage: wine-ctest.sh BUILD_DIR [ctest args...]
set -euo pipefail
build_dir=$(cd "$1" && pwd)
shift
export WINEPREFIX=$build_dir/wineprefix WINEDEBUG=-all
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX"
status=0
ctest --test-dir "$build_dir" --output-on-failure -j 4 "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
