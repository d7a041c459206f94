#!/usr/bin/env bash
# main.sh [OUT_DIR]: installs what is missing, builds the plug-in and the
# host, and renders every factory program playing the demo phrase into
# OUT_DIR (default out/ in the checkout), one file per program
# ("02-acid-bass.wav"), printing each file's peak and RMS level.
set -euo pipefail
out=$(realpath -m "${1:-$(dirname "$0")/../out}")
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
host=build/release/host/orv-host
plugin=build/release/plugin/ORV-Ambrell2.so
mkdir -p "$out"
# The programs as orv-host info lists them: "  NNN  name" after "programs:".
"$host" info "$plugin" | sed -n '/^programs:/,$p' | tail -n +2 |
while read -r number name; do
  slug=$(printf '%s' "$name" | tr '[:upper:]' '[:lower:]' | tr -cs 'a-z0-9' '-' | sed 's/^-//; s/-$//')
  "$host" render "$plugin" --demo --program "$number" -o "$(printf '%s/%02d-%s.wav' "$out" "$number" "$slug")"
done
echo
echo "plug-in:  $(pwd)/$plugin"
echo "renders:  $out/ (the demo phrase through each factory program)"
