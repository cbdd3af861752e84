#!/usr/bin/env bash
# Runs a command with one virtual X display shared by everything it starts (Wine needs a
# display for windows; one server avoids parallel programs racing for display numbers).
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
