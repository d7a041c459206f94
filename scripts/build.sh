#!/usr/bin/env bash
# build.sh [release|asan|tsan|fuzz|windows|arm64] [TARGET...]: configure and build one flavour into
# build/<flavour> (only the targets named, when any are).
#   release  optimised, everything
#   asan     AddressSanitizer + UBSan, the whole suite
#   tsan     ThreadSanitizer; scripts/test.sh runs its tests labelled "threads"
#   fuzz     clang with libFuzzer + ASan + UBSan: the fuzz harnesses only (fuzz/)
#   windows  cross-built with mingw-w64: plugin/ORV-Ambrell2.dll and the test
#            programs scripts/wine-tests.sh runs under Wine
#   arm64    optimised, cross-built for aarch64 Linux: the module, orv-host and
#            the tests, which ctest runs under qemu-aarch64 (scripts/arm64-tests.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
shift || true
targets=()
case "$flavour" in
  release) args=(-DCMAKE_BUILD_TYPE=Release) ;;
  asan)    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_SANITIZE=ON -DORV_BUILD_BENCH=OFF) ;;
  tsan)    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_TSAN=ON -DORV_BUILD_BENCH=OFF) ;;
  fuzz)    targets=(orv_fuzzers); args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_FUZZ=ON -DORV_BUILD_TESTS=OFF
                 -DORV_BUILD_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  windows) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
                 -DORV_BUILD_BENCH=OFF) ;;
  arm64)   args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
                 -DORV_BUILD_BENCH=OFF) ;;
  *) echo "usage: $0 [release|asan|tsan|fuzz|windows|arm64] [TARGET...]" >&2; exit 2 ;;
esac
# ccache, where installed, lets sibling work trees share unchanged objects.
if command -v ccache >/dev/null; then
  args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake --no-warn-unused-cli -S . -B "build/$flavour" -G Ninja "${args[@]}" >/dev/null
if [ $# -gt 0 ]; then targets=("$@"); fi
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "build/$flavour" --target "${targets[@]}"
else
  cmake --build "build/$flavour"
fi
