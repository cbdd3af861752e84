#!/usr/bin/env bash
# Makes sure DIR holds a Wine prefix made by the Wine installed now: wine-prefix.sh DIR
# DIR is a prefix of this tree's own (a build's): it is made on first use, and deleted and made
# anew when another Wine set-up made it. A prefix made before the 32-bit packages went in, for
# one, cannot start any program ("could not load kernel32.dll"). Each prefix records the
# set-up that made it; a lock beside it lets parallel callers wait for one another.
set -euo pipefail
prefix=$(realpath -m "$1")
stamp=$prefix/.wine-setup

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9

setup=$(dpkg-query -W -f '${Package}:${Architecture} ${Version}\n' wine wine64 'wine32:i386' 2>/dev/null || true)
if [ -f "$prefix/system.reg" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$setup" ]; then
  exit 0
fi

rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1 || true
wineserver -w || true
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine-prefix: Wine could not make a prefix in $prefix" >&2
  exit 1
fi
printf '%s\n' "$setup" >"$stamp"
