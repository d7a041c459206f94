#!/usr/bin/env bash
# bench-peers.sh [ORV-HOST BENCH OPTIONS...]: one table, from one run, of
# Ambrell's every factory program and their median against two peers:
# amsynth's "Rave Bass" (two saws into a 24 dB low-pass; chosen by name, since
# its number moves between amsynth versions) and Nekobi (one oscillator,
# 24 dB, no oversampling), at 44100 Hz in blocks of 256. The last column is
# each row's cost over Ambrell's median. Extra options go to orv-host bench
# (--stress, --seconds 20, --reps 9, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
# The peer plug-ins are needed by the benchmarks alone, not by the tests.
bash scripts/install-deps.sh amsynth dpf-plugins-vst
bash scripts/build.sh release >/dev/null

find_vst() {
  local found
  found=$(find /usr/lib/vst /usr/local/lib/vst -name "$1" 2>/dev/null | head -n 1)
  [ -n "$found" ] || { echo "bench-peers: $1 not found under /usr/lib/vst" >&2; exit 1; }
  echo "$found"
}
amsynth=$(find_vst 'amsynth*.so')
nekobi=$(find_vst 'Nekobi*.so')

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The peers talk on stderr (amsynth about its settings folder); shown only
# when the run fails.
if ! build/release/host/orv-host bench build/release/plugin/ORV-Ambrell2.so --program all \
       "$amsynth" --program "Rave Bass" "$nekobi" --rate 44100 --block 256 "$@" 2>"$log"; then
  cat "$log" >&2
  exit 1
fi
