#!/usr/bin/env bash
# bench.sh: runs every benchmark of the project, never part of the tests:
#   1. the micro-benchmarks (build/release/bench/bench_*, Google Benchmark),
#      among them the ladder floor: the filter's serial chain alone;
#   2. start-up time and resident memory per instance;
#   3. one table of Ambrell's factory programs against amsynth's "Rave Bass"
#      and Nekobi: the phrase, the phrase with stress (note-ons, program
#      changes, controller bursts) and idle, 60 s each;
#   4. instructions per output sample under callgrind.
# Timings come from a shared machine: read them side by side, within a run.
set -euo pipefail
cd "$(dirname "$0")/.."
# The peer plug-ins are needed by the benchmarks alone, not by the tests.
bash scripts/install-deps.sh amsynth dpf-plugins-vst
bash scripts/build.sh release >/dev/null
host=build/release/host/orv-host
module=build/release/plugin/ORV-Ambrell2.so

echo "== micro-benchmarks"
for b in build/release/bench/bench_*; do
  [ -x "$b" ] && "$b" --benchmark_counters_tabular=true 2>/dev/null
done

echo
echo "== start-up and memory"
"$host" bench "$module" --startup --instances 50

echo
echo "== peers"
bash scripts/bench-peers.sh --seconds 60
echo
bash scripts/bench-peers.sh --seconds 60 --stress
echo
"$host" bench "$module" --idle --seconds 60

echo
echo "== instructions"
bash scripts/callgrind.sh
