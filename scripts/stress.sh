#!/usr/bin/env bash
# stress.sh [SECONDS] [FLAVOUR...]: the thread stress tests (ctest label "threads") for
# SECONDS each (300 unless given) in each flavour named (release, asan and tsan unless
# given), each built first, under a private Xvfb server. Prints the rates each run
# sustained.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
shift || true
flavours=("$@")
[ ${#flavours[@]} -gt 0 ] || flavours=(release asan tsan)
export ORV_STRESS_SECONDS=$seconds
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
status=0
for flavour in "${flavours[@]}"; do
  echo "== $flavour, $seconds s per test"
  bash scripts/build.sh "$flavour" ORV-Ambrell2 plugin_thread_stress_test >/dev/null
  bash scripts/with-xvfb.sh ctest --test-dir "build/$flavour" -L threads -V \
    --timeout $((seconds * 3 + 120)) | grep -E '^[0-9]+: stress|Passed|Failed|\*\*\*|WARNING: ThreadSanitizer' \
    || status=1
done
exit $status
