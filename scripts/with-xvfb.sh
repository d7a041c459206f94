#!/usr/bin/env bash
# with-xvfb.sh COMMAND...: runs COMMAND with DISPLAY set to a private Xvfb
# server (started here, stopped on exit), unless ORV_USE_DISPLAY=1 asks to use
# the DISPLAY already set.
set -euo pipefail
if [ "${ORV_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
# Xvfb picks a free display number itself and writes it once it accepts
# connections (-displayfd): two runs started at once never share a server.
# The screen is a 4K monitor's: the editor at 300 % (1800 x 1500) fits whole.
numberfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 3840x2160x24 -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; wait $xvfb_pid 2>/dev/null || true; rm -f "$numberfile"' EXIT
for _ in $(seq 1 100); do
  [ -s "$numberfile" ] && break
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$numberfile")"
xdpyinfo >/dev/null 2>&1 || { echo "with-xvfb.sh: Xvfb did not start" >&2; exit 1; }
"$@"
