#!/usr/bin/env bash
# insn-arm64.sh [PROGRAM...]: instructions per output sample of the arm64
# build playing the bench phrase (default programs 0 and 2), counted by a
# plug-in of qemu-aarch64 (bench/qemu_insn_count.c): a first figure for the
# cost on a Raspberry Pi. Each program plays a 2 s and a 12 s stretch; the
# difference between the two counts over the difference in frames leaves out
# loading the module and creating the instance. Like callgrind.sh's figure
# for x86-64, the count is the same on a busy machine.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- 0 2
bash scripts/build.sh release orv_qemu_insn_count >/dev/null
bash scripts/build.sh arm64 ORV-Ambrell2 orv-host >/dev/null
counter=$(pwd)/build/release/bench/orv_qemu_insn_count.so

# count SECONDS PROGRAM: prints "FRAMES INSTRUCTIONS NAME".
count() {
  local out
  out=$(qemu-aarch64 -L /usr/aarch64-linux-gnu -plugin "$counter" build/arm64/host/orv-host \
          bench build/arm64/plugin/ORV-Ambrell2.so --program "$2" --once --seconds "$1" 2>&1)
  local frames=${out%% frames*}
  local name=${out#*ns/sample  }
  echo "$frames $(sed -n 's/.*guest instructions: //p' <<<"$out") ${name%%guest*}"
}

printf '%-28s %10s\n' "program (aarch64)" "per sample"
for p in "$@"; do
  read -r frames1 count1 _ <<<"$(count 2 "$p")"
  read -r frames2 count2 name <<<"$(count 12 "$p")"
  printf '%-28.28s %10s\n' "${name#Ambrell - ORV }" \
    "$(awk -v c="$((count2 - count1))" -v f="$((frames2 - frames1))" 'BEGIN { printf "%.1f", c / f }')"
done
