#!/usr/bin/env bash
# install-deps-arm64.sh: what cross-building Ambrell for arm64 (aarch64) and
# running its tests here needs: Debian's cross compiler, qemu's user-mode
# emulator, and the arm64 development packages of the libraries the module,
# orv-host and the tests link, through multiarch (dpkg's arm64 architecture).
# The arm64 -dev packages co-install with the amd64 ones of install-deps.sh.
# Safe to run again: apt skips what is present.
set -euo pipefail

packages=(
  # the cross compiler and the emulator the arm64 tests and renders run under
  g++-aarch64-linux-gnu qemu-user
  # the module: editor window and text
  libx11-dev:arm64 libxext-dev:arm64 libfreetype-dev:arm64 libfontconfig-dev:arm64
  # orv-host: audio files, loudness, screenshots, play through JACK
  libsndfile1-dev:arm64 libebur128-dev:arm64 libpng-dev:arm64 libjack-jackd2-dev:arm64
  # orv-host: hosting LV2 plug-ins
  liblilv-dev:arm64
  # tests: GoogleTest, synthetic X input
  libgtest-dev:arm64 libgmock-dev:arm64 libxtst-dev:arm64
)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
fresh=0
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $SUDO dpkg --add-architecture arm64
  fresh=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ $fresh -eq 1 ]; then
  $SUDO apt-get update
fi
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get install -y -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
fi
