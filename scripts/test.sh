#!/usr/bin/env bash
# test.sh: installs what is missing, builds the optimised and the sanitizer
# flavours and runs the whole suite in each under a private Xvfb server; then
# the thread stress tests (label "threads") in a ThreadSanitizer build, the
# Windows module's tests under Wine, the arm64 build's engine and plug-in
# tests and its renders under qemu, every fuzz harness for a short smoke run,
# and the Debian packages (amd64, arm64) unpacked into a scratch root.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
bash scripts/build.sh asan
# The ThreadSanitizer build holds only what its tests need.
bash scripts/build.sh tsan ORV-Ambrell2 ORV-Ambrell2-clap plugin_thread_stress_test frame_editor_stress_test \
  shells_clap_threads_test
bash scripts/build.sh windows
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
failed=()
started=$(mktemp)  # marks the run's start: older failure lists are not this run's
trap 'rm -f "$started"' EXIT
# part NAME COMMAND...: runs one part of the suite; a failure is remembered
# and the run goes on, so one flaky part never hides the others.
part() {
  local name=$1; shift
  echo "== $name"
  "$@" || failed+=("$name")
}
part "release build" bash scripts/with-xvfb.sh ctest --test-dir build/release --output-on-failure -j2
part "sanitizer build" bash scripts/with-xvfb.sh ctest --test-dir build/asan --output-on-failure -j2
part "thread sanitizer build" bash scripts/with-xvfb.sh ctest --test-dir build/tsan -L threads --output-on-failure
part "Windows build under Wine" bash scripts/wine-tests.sh -j2
part "arm64 build under qemu" bash scripts/arm64-tests.sh -j2
part "fuzz smoke" bash scripts/fuzz.sh --smoke 500
for arch in amd64 arm64; do
  part "Debian package $arch" bash -c 'deb=$(bash scripts/package.sh "$1" build) && bash scripts/check-package.sh "$deb"' _ "$arch"
done

# The end of a long log is what gets read: say there what failed.
if [ ${#failed[@]} -eq 0 ]; then
  echo "test.sh: every part passed"
  exit 0
fi
echo "test.sh: failed: $(IFS=,; echo "${failed[*]}" | sed 's/,/, /g')"
# ctest's list of this run's failures, per build folder.
find build -path '*/Testing/Temporary/LastTestsFailed.log' -newer "$started" -size +0 2>/dev/null |
  while read -r log; do sed "s|^|  ${log%%/Testing/*}: |" "$log"; done
exit 1
