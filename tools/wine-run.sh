#!/usr/bin/env bash
# Runs a Windows program under Wine: wine-run.sh [--prefix DIR] program.exe [args...]
# Uses a private prefix (made on first use) and the display in DISPLAY, or a virtual one
# of its own; the program's exit code is this script's exit code.
set -euo pipefail
if [ "${1:-}" = --prefix ]; then
  export WINEPREFIX=$2
  shift 2
fi
export WINEPREFIX=${WINEPREFIX:-$(pwd)/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$@"
fi
exec xvfb-run -a wine "$@"
