#!/usr/bin/env bash
# bench-peers.sh [ORV-HOST BENCH OPTIONS...]: one table, from one run, of
# Ambrell's every factory program and their median against two peers:
# amsynth's "Rave Bass" (two saws into a 24 dB low-pass; chosen by name, since
# its number moves between amsynth versions) and Nekobi (one oscillator,
# 24 dB, no oversampling), at 44100 Hz in blocks of 256. The last column is
# each row's cost over Ambrell's median. The cost table is repeated at 96000
# and 192000 Hz, and followed by the real-time DSP load under a JACK server
# (scripts/bench-jack.sh). Extra options go to orv-host bench (--stress, --seconds 20,
# --reps 9, ...).
#
# Then what the cost buys: a quality table from the same run. Each
# instrument holds one bright saw through its open filter, without
# resonance, at about 1, 2 and 4 kHz (notes 84, 95, 107), rendered by
# orv-host render and measured by orv_alias_quality: below 20 kHz, the
# strongest component that is not a harmonic (relative to the fundamental)
# and the power of all of them (relative to the harmonics). Ambrell plays it
# with its classic and its clean oscillators, and its square pulse as well.
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
work=$(mktemp -d)
trap 'rm -rf "$log" "$work"' EXIT
host=build/release/host/orv-host
# The peers talk on stderr (amsynth about its settings folder); shown only
# when the run fails.
for rate in 44100 96000 192000; do
  echo "== cost at $rate Hz"
  if ! "$host" bench build/release/plugin/ORV-Ambrell2.so --program all \
         "$amsynth" --program "Rave Bass" "$nekobi" --rate "$rate" --block 256 "$@" 2>"$log"; then
    cat "$log" >&2
    exit 1
  fi
done

# The same instruments live: their DSP load under a JACK server.
bash scripts/bench-jack.sh "$amsynth"

# A format-0 MIDI file holding one note for 2.5 s (480 ticks a beat at 120
# beats a minute: 2400 ticks, 0x92 0x60 as a variable-length number).
held_note() {
  local hex
  hex=$(printf '%02x' "$1")
  printf "MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk\x00\x00\x00\x14"
  printf "\x00\xff\x51\x03\x07\xa1\x20\x00\x90\x$hex\x64\x92\x60\x80\x$hex\x00\x00\xff\x2f\x00"
}

# Each instrument's bright saw, open filter, no resonance, full sustain.
ambrell_saw=(--program "Saw Bass" --set VOLUMEOSC1OSC2=0 --set VOLUMESUBOSC=0 --set CUTOFF=1
             --set RESONANCE=0 --set SUSTAIN=1)
# amsynth's first program bends its pitch from the LFO: freq_mod_amount=0
# holds it still, or its own vibrato would count as alias.
amsynth_saw=(--program 0 --set osc1_waveform=0.5 --set osc1_pulsewidth=1 --set osc_mix=0
             --set filter_cutoff=1 --set filter_resonance=0 --set filter_env_amount=0.5
             --set amp_sustain=1 --set freq_mod_amount=0)
nekobi_saw=(--set Waveform=1 --set Cutoff=1 --set "VCF Resonance=0" --set "Env Mod=0")

ambrell=build/release/plugin/ORV-Ambrell2.so
echo "== alias below 20 kHz, bright saw (and Ambrell's square) through an open filter, 44100 Hz (dB)"
printf '%-22s %6s %8s %10s %8s\n' "" note Hz strongest total
for note in 84 95 107; do
  held_note "$note" >"$work/note.mid"
  hz=$(awk -v n="$note" 'BEGIN { printf "%.1f", 440 * 2 ^ ((n - 69) / 12) }')
  for who in "ambrell classic" "ambrell clean" amsynth nekobi "ambrell square classic" \
             "ambrell square clean"; do
    case $who in
      "ambrell classic") module=$ambrell; settings=("${ambrell_saw[@]}") ;;
      "ambrell clean") module=$ambrell; settings=("${ambrell_saw[@]}" --oscillators clean) ;;
      amsynth) module=$amsynth; settings=("${amsynth_saw[@]}") ;;
      nekobi)  module=$nekobi; settings=("${nekobi_saw[@]}") ;;
      "ambrell square classic") module=$ambrell; settings=("${ambrell_saw[@]}" --set osc1wave=rec --set PWOSC1=0.5) ;;
      "ambrell square clean") module=$ambrell
        settings=("${ambrell_saw[@]}" --set osc1wave=rec --set PWOSC1=0.5 --oscillators clean) ;;
    esac
    if ! "$host" render "$module" -o "$work/tone.wav" --midi "$work/note.mid" "${settings[@]}" \
           --tail 0 >/dev/null 2>"$log"; then
      cat "$log" >&2
      exit 1
    fi
    read -r _ strongest _ total _ < <(build/release/bench/orv_alias_quality "$work/tone.wav" "$hz")
    printf '%-22s %6s %8s %10s %8s\n' "$who" "$note" "$hz" "$strongest" "$total"
  done
done

# What clean costs: every program in each mode, interleaved in one table.
echo "== cost of the clean oscillators, 44100 Hz"
if ! "$host" bench "$ambrell" --program all --oscillators classic "$ambrell" --program all \
       --oscillators clean --rate 44100 --block 256 "$@" 2>"$log"; then
  cat "$log" >&2
  exit 1
fi
