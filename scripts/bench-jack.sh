#!/usr/bin/env bash
# bench-jack.sh AMSYNTH.so [AMBRELL.so...]: the real-time DSP load each
# instrument puts on a JACK server, hosted by orv-host play and holding one
# note: Ambrell's "Analog Lead" (a resonant LP 24dB program) and "FM FX"
# (its costliest), and amsynth's "Rave Bass". A dummy-driver server runs at
# 44100 Hz in periods of 64 and then 256 frames; each run measures the
# server alone, then every instrument in turn, the order rotating from run
# to run so that a busy moment of the machine falls on each alike. The
# figures are the medians over the runs of jack_cpu_load (per cent of a
# period) minus the server's own load; the next column is each program
# over amsynth, and the last the same with the host's own cost (orv-host
# play with a plug-in that computes nothing) taken from both. Several
# Ambrell modules (before and after a change) are measured in the same
# runs. JACK_RUNS (default 5) and JACK_SECONDS (default 5) set the runs and
# each measurement's length.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: $0 AMSYNTH.so [AMBRELL.so...]" >&2; exit 2; }
amsynth=$1
shift
ambrells=("$@")
[ ${#ambrells[@]} -gt 0 ] || ambrells=(build/release/plugin/ORV-Ambrell2.so)
runs=${JACK_RUNS:-5}
seconds=${JACK_SECONDS:-5}
host=build/release/host/orv-host
meter=build/release/bench/orv_jack_load
# The note each instrument holds: C3, where the bass and lead programs sit.
note=48

work=$(mktemp -d)
server_pid=""
player_pid=""
stop() {
  [ -z "$1" ] && return 0
  kill -INT "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
trap 'stop "$player_pid"; stop "$server_pid"; rm -rf "$work"' EXIT
export JACK_DEFAULT_SERVER=orv-bench-jack-$$

# The rows: a label, then the module and its program ("" for the server alone).
labels=(idle)
modules=("")
programs=("")
# The host's own cost: orv-host play with a plug-in that computes nothing
# (the tests' stand-in). What a row has above it is the instrument's DSP.
standin=build/release/tests/host/any_chunk_plugin.so
if [ -f "$standin" ]; then
  labels+=("orv-host play, a plug-in doing nothing"); modules+=("$standin"); programs+=("")
fi
for m in "${ambrells[@]}"; do
  tag=$(basename "$(dirname "$(dirname "$m")")")/$(basename "$m" .so)
  for p in "Analog Lead" "FM FX"; do
    labels+=("$tag \"$p\""); modules+=("$m"); programs+=("$p")
  done
done
labels+=("amsynth \"Rave Bass\""); modules+=("$amsynth"); programs+=("Rave Bass")
rows=${#labels[@]}

# One reading of row r: the server's load with that instrument playing.
measure() {
  local r=$1
  if [ -z "${modules[$r]}" ]; then
    "$meter" "$seconds"
    return
  fi
  local program=()
  [ -n "${programs[$r]}" ] && program=(--program "${programs[$r]}")
  "$host" play "${modules[$r]}" --no-gui "${program[@]}" --name player \
    --state "$work/state-$r.fxb" --fresh >/dev/null 2>>"$work/player.log" &
  player_pid=$!
  "$meter" "$seconds" "$note" player:midi_in
  stop "$player_pid"
  player_pid=""
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -A result
for period in 64 256; do
  jackd -d dummy -r 44100 -p "$period" >"$work/jackd.log" 2>&1 &
  server_pid=$!
  sleep 1
  for ((run = 0; run < runs; run++)); do
    for ((i = 0; i < rows; i++)); do
      r=$(((i + run) % rows))
      if ! value=$(measure "$r"); then
        cat "$work/jackd.log" "$work/player.log" >&2
        exit 1
      fi
      echo "$value" >>"$work/$period.$r"
    done
  done
  stop "$server_pid"
  server_pid=""
  idle=$(median <"$work/$period.0")
  result[$period.0]=$idle
  for ((r = 1; r < rows; r++)); do
    result[$period.$r]=$(median <"$work/$period.$r" | awk -v i="$idle" '{ printf "%.3f", $1 - i }')
  done
done

echo "== JACK DSP load above the server's own, dummy driver, 44100 Hz, one held note (% of a period)"
printf '%-44s %10s %10s %12s %14s\n' "" "64 frames" "256 frames" "64: /amsynth" "64: DSP only"
# The last column leaves the host's own cost out of both sides, when the
# stand-in row was measured.
host_cost=0
[ -f "$standin" ] && host_cost=${result[64.1]}
for ((r = 0; r < rows; r++)); do
  ratio=$(awk -v a="${result[64.$r]}" -v b="${result[64.$((rows - 1))]}" \
    'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
  dsp=$(awk -v a="${result[64.$r]}" -v b="${result[64.$((rows - 1))]}" -v h="$host_cost" \
    'BEGIN { if (h > 0 && b - h > 0) printf "%.2f", (a - h) / (b - h); else print "-" }')
  if [ "$r" -eq 0 ] || [ "${modules[$r]}" = "$standin" ]; then ratio="" dsp=""; fi
  printf '%-44.44s %10s %10s %12s %14s\n' "${labels[$r]}" "${result[64.$r]}" "${result[256.$r]}" "$ratio" "$dsp"
done
echo "(idle: the server's own load; $runs interleaved runs of $seconds s each)"
