#!/usr/bin/env bash
# with-xvfb.sh COMMAND...: runs COMMAND with DISPLAY set to a private Xvfb
# server (started here, stopped on exit), unless ORV_USE_DISPLAY=1 asks to use
# the DISPLAY already set.
set -euo pipefail
if [ "${ORV_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; wait $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=":$n"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
"$@"
