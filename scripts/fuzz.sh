#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the fuzz flavour (clang, libFuzzer, ASan, UBSan) and runs every
#                    harness for SECONDS (60 unless given) on its corpus.
# fuzz.sh --smoke [RUNS]: each harness on its seeds and RUNS (2000 unless given) inputs
#                    derived from them: the smoke test scripts/test.sh runs.
# Seeds live in fuzz/corpus/<harness>/; what a run finds new is kept apart in
# build/fuzz/corpus/<harness>/, faults in build/fuzz/faults/. Exits non-zero when any
# harness found a fault; each harness's executions are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=time
limit=60
if [ "${1:-}" = "--smoke" ]; then
  mode=smoke
  limit=${2:-2000}
elif [ $# -gt 0 ]; then
  limit=$1
fi
if ! build_log=$(bash scripts/build.sh fuzz 2>&1); then
  echo "$build_log" | tail -n 40 >&2
  echo "fuzz.sh: the fuzz build failed" >&2
  exit 1
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Longest input per harness: a bank chunk is 24400 bytes (plus the byte that
# chooses bank or program); an event list of 600 events of 32 bytes; a bank
# file is that chunk behind a 160-byte header; a state input is a bank behind
# two bytes that pick programs; MIDI images reach twice the cap their harness
# gives the reader; a bank chunk with a tuning after its records runs longer;
# Scala files are a few lines each.
declare -A max_len=([chunk]=26000 [events]=20000 [dispatcher]=8192 [parameters]=2048
                    [bmp]=4096 [midifile]=4096 [preset]=25000 [state]=24500 [scala]=4096)
mkdir -p build/fuzz/faults
status=0
for name in chunk events dispatcher parameters bmp midifile preset state scala; do
  work=build/fuzz/corpus/$name
  mkdir -p "$work"
  if [ "$mode" = smoke ]; then
    run=(-runs="$limit")
  else
    run=(-max_total_time="$limit")
  fi
  log=build/fuzz/$name.log
  if build/fuzz/fuzz/${name}_fuzzer "${run[@]}" -max_len="${max_len[$name]}" \
       -print_final_stats=1 -artifact_prefix="build/fuzz/faults/$name-" \
       "$work" "fuzz/corpus/$name" >"$log" 2>&1; then
    result=ok
  else
    result=FAULT
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  secs=$(sed -n 's/^stat::\(average_exec_per_sec\): *//p' "$log" | tail -n 1)
  printf '%-11s %-5s %12s executions  %8s/s\n' "$name" "$result" "${runs:-?}" "${secs:-?}"
  [ "$result" = ok ] || tail -n 40 "$log" >&2
done
exit $status
