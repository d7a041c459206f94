#!/usr/bin/env bash
# bench.sh [GOOGLE BENCHMARK ARGS...]: runs every benchmark of the project;
# none is part of the test pass.
#   1. micro-benchmarks: each engine unit's cost per step, the voice on the
#      LP 12dB and LP 24dB paths (renderSample alone, and render in runs of
#      128 as the plug-in renders), and the ladder floor (the filter's
#      serial chain alone); extra arguments go to Google Benchmark, e.g.
#      --benchmark_filter=Saw; then the saw's alias floor;
#   2. start-up time and resident memory per instance and per open editor,
#      and the GUI thread's cost of an open editor idled at 30 Hz, quiet and
#      while every parameter is automated;
#   3. one table of Ambrell's factory programs against amsynth's "Rave Bass"
#      and Nekobi: the phrase, then the phrase with stress (note-ons, program
#      changes, controller bursts), 60 s each; then Ambrell idle;
#   4. instructions per output sample under callgrind.
# Timings come from a shared machine: read them side by side, within a run.
set -euo pipefail
cd "$(dirname "$0")/.."
# The peer plug-ins are needed by the benchmarks alone, not by the tests.
bash scripts/install-deps.sh amsynth dpf-plugins-vst
bash scripts/build.sh release
host=build/release/host/orv-host
module=build/release/plugin/ORV-Ambrell2.so

echo "== micro-benchmarks"
build/release/bench/orv_engine_bench "$@"
build/release/bench/orv_saw_alias_floor

echo
echo "== start-up and memory (the editor's on a private X server)"
bash scripts/with-xvfb.sh "$host" bench "$module" --startup --instances 50
bash scripts/with-xvfb.sh "$host" bench "$module" --editor --seconds 10

echo
echo "== against the peers"
bash scripts/bench-peers.sh --seconds 60
echo
bash scripts/bench-peers.sh --seconds 60 --stress
echo
"$host" bench "$module" --idle --seconds 60

echo
echo "== instructions"
bash scripts/callgrind.sh
