#!/usr/bin/env bash
# play.sh [OPTIONS...]: plays Ambrell live through JACK with `orv-host play`,
# connected to the system's playback ports and MIDI sources. When no JACK
# server runs, it starts one with the dummy driver (48 kHz, 256-frame
# periods; no sound card needed, nothing is heard) and stops it afterwards.
# OPTIONS go to orv-host play (--program NAME, --no-gui, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
host=build/release/host/orv-host
module=build/release/plugin/ORV-Ambrell2.so
[ -x "$host" ] && [ -f "$module" ] || { bash scripts/install-deps.sh && bash scripts/build.sh release; }

server=""
if ! jack_lsp >/dev/null 2>&1; then
  echo "play.sh: no JACK server runs; starting one with the dummy driver" >&2
  jackd --no-realtime -d dummy -r 48000 -p 256 >/dev/null 2>&1 &
  server=$!
  trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do jack_lsp >/dev/null 2>&1 && break; sleep 0.1; done
fi
status=0
"$host" play "$module" --connect "$@" || status=$?
exit $status
