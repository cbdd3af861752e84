#!/usr/bin/env bash
# Runs a Windows program under Wine: wine-run.sh [--prefix DIR] program.exe [args...]
# Uses a private prefix (DIR, by default ./wineprefix; made on first use) and the display in
# DISPLAY, or a virtual one of its own; the program's exit code is this script's exit code.
set -euo pipefail
export WINEPREFIX=$(pwd)/wineprefix
if [ "${1:-}" = --prefix ]; then
  WINEPREFIX=$2
  shift 2
fi
export WINEDEBUG=-all
# A crashed program ends at once instead of waiting for the debugger.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winedbg.exe=d"}
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$@"
fi
exec xvfb-run -a wine "$@"
