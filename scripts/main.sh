#!/usr/bin/env bash
# main.sh [OUT_DIR]: installs what is missing, builds the plug-in and the
# host, and renders every factory program playing the demo phrase into
# OUT_DIR (default out/ in the checkout): for each program an audio file
# and a picture of it ("02-acid-bass.wav", "02-acid-bass.png"), printing
# each file's peak and RMS level, loudness and true peak; then screenshots of
# the editor with program 0 ("editor.png": its name in the readout, the
# bipolar tune knobs at their centre), with "Rising Industry Pad"
# ("editor-rising-industry-pad.png"), with the LFO 1 destination menu open
# and its current entry marked ("editor-menu.png"), with the panel menu
# ("editor-panel-menu.png") and at 150 and 200 % ("editor-150.png",
# "editor-200.png", "editor-menu-200.png"), on a private X server when no
# display is set;
# last a table of the twenty programs' levels.
set -euo pipefail
out=$(realpath -m "${1:-$(dirname "$0")/../out}")
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
host=build/release/host/orv-host
plugin=build/release/plugin/ORV-Ambrell2.so
mkdir -p "$out"

# Renders run two at a time (one core each); their reports are printed in
# program order as each finishes.
parallel=2
pids=()
logs=()
names=()
table=()
report_oldest() {
  local status=0
  wait "${pids[0]}" || status=$?
  cat "${logs[0]}"
  # "...; peak P dBFS, RMS R dBFS, loudness L LUFS, true peak T dBTP"
  table+=("$(sed -n 's/.*; peak \(.*\) dBFS, RMS \(.*\) dBFS, loudness \(.*\) LUFS, true peak \(.*\) dBTP/\3 \1 \4 \2/p' \
             "${logs[0]}" | head -n 1 | xargs printf '%8s %8s %8s %8s')  ${names[0]}")
  rm -f "${logs[0]}"
  pids=("${pids[@]:1}")
  logs=("${logs[@]:1}")
  names=("${names[@]:1}")
  return $status
}
# The programs as orv-host info lists them: "  NNN  name" after "programs:".
while read -r number name; do
  slug=$(printf '%s' "$name" | tr '[:upper:]' '[:lower:]' | tr -cs 'a-z0-9' '-' | sed 's/^-//; s/-$//')
  base=$(printf '%s/%02d-%s' "$out" "$number" "$slug")
  log=$(mktemp)
  "$host" render "$plugin" --demo --program "$number" -o "$base.wav" --picture "$base.png" >"$log" 2>&1 &
  pids+=($!)
  logs+=("$log")
  names+=("$(printf '%2d %s' "$number" "$name")")
  [ ${#pids[@]} -lt $parallel ] || report_oldest
done < <("$host" info "$plugin" | sed -n '/^programs:/,$p' | tail -n +2)
while [ ${#pids[@]} -gt 0 ]; do report_oldest; done

screenshots() {
  "$host" screenshot "$plugin" "$out/editor.png"
  "$host" screenshot "$plugin" "$out/editor-rising-industry-pad.png" --program "Rising Industry Pad"
  # The LFO 1 destination menu: its box spans (67, 100) to (167, 115).
  "$host" screenshot "$plugin" "$out/editor-menu.png" --click 117,107
  # The panel menu: a right click on bare panel, left in the filter section.
  "$host" screenshot "$plugin" "$out/editor-panel-menu.png" --right-click 30,170
  # The editor at 150 and 200 %; at 200 % the same menu open, clicked at
  # twice its place.
  "$host" screenshot "$plugin" "$out/editor-150.png" --scale 150
  "$host" screenshot "$plugin" "$out/editor-200.png" --scale 200
  "$host" screenshot "$plugin" "$out/editor-menu-200.png" --scale 200 --click 234,214
}
if [ -n "${DISPLAY:-}" ]; then
  screenshots
else
  export -f screenshots
  export host plugin out
  bash scripts/with-xvfb.sh bash -c screenshots
fi

echo
echo "    LUFS     peak     dBTP      RMS  program (the demo phrase through each)"
printf '%s\n' "${table[@]}"

echo
echo "plug-in:   $(pwd)/$plugin"
echo "renders:   $out/NN-name.wav (the demo phrase through each factory program)"
echo "pictures:  $out/NN-name.png (spectrogram, waveform and level of each render)"
echo "editor:    $out/editor.png, editor-rising-industry-pad.png, editor-menu.png, editor-panel-menu.png,"
echo "           editor-150.png, editor-200.png, editor-menu-200.png (the editor at 150 and 200 %)"
