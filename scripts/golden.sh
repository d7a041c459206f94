#!/usr/bin/env bash
# golden.sh [REV]: shows that the working tree renders exactly what REV
# (default HEAD) renders. Builds REV's plug-in in a scratch worktree, then
# plays every factory program through both modules with the same orv-host
# in every configuration of golden-configs.sh and compares the output bytes.
# Each instance starts fresh, so its random source starts from its fixed
# seed. On a difference it says which programs differ and by how
# many units in the last place. Exit status 0 only when all are identical.
set -euo pipefail
cd "$(dirname "$0")/.."
rev=$(git rev-parse --verify "${1:-HEAD}^{commit}")
root=$(pwd)
scratch=$root/build/golden
bash scripts/build.sh release >/dev/null
host=$root/build/release/host/orv-host
ulpdiff=$root/build/release/bench/orv_ulpdiff

# REV's module, built once per commit.
base=$scratch/$rev
if [ ! -f "$base/build/plugin/ORV-Ambrell2.so" ]; then
  rm -rf "$base/src"
  git worktree prune
  git worktree add --detach "$base/src" "$rev" >/dev/null 2>&1
  cmake -S "$base/src" -B "$base/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF >/dev/null
  cmake --build "$base/build" --target ORV-Ambrell2 >/dev/null
  git worktree remove --force "$base/src"
fi

source scripts/golden-configs.sh
status=0
for config in "${golden_configs[@]}"; do
  # shellcheck disable=SC2086 # the config is a list of options
  before=$("$host" bench "$base/build/plugin/ORV-Ambrell2.so" --program all --golden $config)
  # shellcheck disable=SC2086
  after=$("$host" bench build/release/plugin/ORV-Ambrell2.so --program all --golden $config)
  if [ "$before" = "$after" ]; then
    echo "identical: $(wc -l <<<"$after") programs, $config"
    continue
  fi
  status=1
  echo "DIFFERENT: $config"
  mkdir -p "$scratch/a" "$scratch/b"
  # shellcheck disable=SC2086
  "$host" bench "$base/build/plugin/ORV-Ambrell2.so" --program all --golden --dump "$scratch/a" $config >/dev/null
  # shellcheck disable=SC2086
  "$host" bench build/release/plugin/ORV-Ambrell2.so --program all --golden --dump "$scratch/b" $config >/dev/null
  for f in "$scratch"/a/*.f32; do
    name=$(basename "$f")
    echo "  $name: $("$ulpdiff" "$f" "$scratch/b/$name" || true)"
  done
done
exit $status
