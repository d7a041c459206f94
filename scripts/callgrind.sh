#!/usr/bin/env bash
# callgrind.sh [SECONDS]: instructions per output sample of every factory
# program playing the bench phrase (default 5 s of it), counted by
# valgrind's callgrind. Only the host's playing loop is counted (collection
# is switched on inside BenchRunner::playTotal), so loading the module and
# creating the instance do not count. Unlike a timing, the count is the same
# on a busy machine: the figure to follow from commit to commit.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
bash scripts/install-deps.sh
bash scripts/build.sh release >/dev/null
host=build/release/host/orv-host
module=build/release/plugin/ORV-Ambrell2.so

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
programs=$("$host" info "$module" | sed -n 's/^programs: *\([0-9]*\).*/\1/p')

printf '%-28s %14s %10s\n' "program ($seconds s phrase)" "instructions" "per sample"
counts=()
for ((p = 0; p < programs; p++)); do
  line=$(valgrind --tool=callgrind --callgrind-out-file="$out/cg.$p" --collect-atstart=no \
           --toggle-collect='BenchRunner::playTotal*' \
           "$host" bench "$module" --program "$p" --once --seconds "$seconds" 2>/dev/null)
  frames=${line%% frames*}
  name=${line#*ns/sample  }
  total=$(sed -n 's/^totals: *//p' "$out/cg.$p")
  per=$(awk -v t="$total" -v f="$frames" 'BEGIN { printf "%.1f", t / f }')
  counts+=("$per")
  printf '%-28.28s %14s %10s\n' "${name#Ambrell - ORV }" "$total" "$per"
done
median=$(printf '%s\n' "${counts[@]}" | sort -g | awk '{ v[NR] = $1 } END {
  print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
printf '%-28s %14s %10s\n' "median" "" "$median"
