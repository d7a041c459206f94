#!/usr/bin/env bash
# arm64-tests.sh [CTEST_ARGS...]: cross-builds the engine's and the plug-in's
# tests for arm64 and runs them under qemu-aarch64 (ctest knows the emulator
# from cmake/aarch64-linux-gnu.cmake), then compares every factory program's
# renders with the x86-64 build's (golden-arm64.sh --short). Left to the
# native builds: the thread stress test (emulated, its threads prove nothing
# of the arm64 memory model), the output limit's sweep of 120 renders
# (three minutes emulated; the renders' bytes match x86-64's anyway) and the
# null test against the reference build, for the same reason.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh arm64 ORV-Ambrell2 orv-host >/dev/null
tests=$(cd build/arm64 && ninja -t targets all |
        sed -n 's/^\(\(engine\|plugin\)_[a-z0-9_]*_test\): .*/\1/p' | grep -v thread_stress | sort -u)
# shellcheck disable=SC2086 # one target a word
bash scripts/build.sh arm64 $tests >/dev/null
status=0
for layer in engine plugin; do
  echo "== arm64 $layer tests under qemu"
  ctest --test-dir "build/arm64/tests/$layer" --output-on-failure "$@" \
        -E 'plugin_thread_stress_test|OutputLimit.NoInRangeSettingOfAnyProgramReachesIt|ReferenceNull' || status=1
done
echo "== arm64 renders against x86-64"
bash scripts/golden-arm64.sh --short || status=1
exit $status
