#!/usr/bin/env bash
# golden-arm64.sh [--short]: shows that the arm64 build sounds exactly like
# the x86-64 build. Plays every factory program in every configuration of
# golden-configs.sh through the x86-64 orv-host and module, and through the
# arm64 orv-host and module under qemu-aarch64, and compares the output
# bytes. On a difference it says which programs differ, by how many units in
# the last place, and how far below the render the difference lies.
# Exit status 0 only when all are identical. Emulated, the whole comparison
# takes several minutes; --short (what the test run uses) plays a fifth of
# each configuration's length, every rate and block size still there.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/golden-configs.sh
if [ "${1:-}" = "--short" ]; then
  for i in "${!golden_configs[@]}"; do
    seconds=$(sed -n 's/.*--seconds \([0-9.]*\).*/\1/p' <<<"${golden_configs[$i]}")
    short=$(awk -v s="$seconds" 'BEGIN { print s / 5 }')
    golden_configs[i]=${golden_configs[$i]/--seconds $seconds/--seconds $short}
  done
fi
bash scripts/build.sh release ORV-Ambrell2 orv-host orv_ulpdiff >/dev/null
bash scripts/build.sh arm64 ORV-Ambrell2 orv-host >/dev/null
scratch=$(pwd)/build/golden-arm64
x86=(build/release/host/orv-host bench build/release/plugin/ORV-Ambrell2.so)
arm64=(qemu-aarch64 -L /usr/aarch64-linux-gnu build/arm64/host/orv-host bench
       build/arm64/plugin/ORV-Ambrell2.so)
status=0
for config in "${golden_configs[@]}"; do
  # shellcheck disable=SC2086 # the config is a list of options
  x86_sums=$("${x86[@]}" --program all --golden $config)
  # shellcheck disable=SC2086
  arm64_sums=$("${arm64[@]}" --program all --golden $config)
  if [ "$x86_sums" = "$arm64_sums" ]; then
    echo "identical: $(wc -l <<<"$arm64_sums") programs, $config"
    continue
  fi
  status=1
  echo "DIFFERENT: $config"
  rm -rf "$scratch" && mkdir -p "$scratch/x86" "$scratch/arm64"
  # shellcheck disable=SC2086
  "${x86[@]}" --program all --golden --dump "$scratch/x86" $config >/dev/null
  # shellcheck disable=SC2086
  "${arm64[@]}" --program all --golden --dump "$scratch/arm64" $config >/dev/null
  for f in "$scratch"/x86/*.f32; do
    name=$(basename "$f")
    echo "  $name: $(build/release/bench/orv_ulpdiff "$f" "$scratch/arm64/$name" || true)"
  done
done
exit $status
