#!/usr/bin/env bash
# bench.sh: builds the optimised flavour and runs the benchmarks (the engine
# units' cost per step and the saw's alias floor). Extra arguments go to
# Google Benchmark, e.g. --benchmark_filter=Saw.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh release
build/release/bench/orv_engine_bench "$@"
build/release/bench/orv_saw_alias_floor
