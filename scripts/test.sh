#!/usr/bin/env bash
# test.sh: installs what is missing, builds the optimised and the sanitizer
# flavours, runs the whole suite in each under a private Xvfb server, and
# checks the Debian package unpacked into a scratch root.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
bash scripts/build.sh asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
echo "== release build"
bash scripts/with-xvfb.sh ctest --test-dir build/release --output-on-failure -j2 || status=1
echo "== sanitizer build"
bash scripts/with-xvfb.sh ctest --test-dir build/asan --output-on-failure -j2 || status=1
echo "== Debian package"
{ deb=$(bash scripts/package.sh build) && bash scripts/check-package.sh "$deb"; } || status=1
exit $status
