#!/usr/bin/env bash
# install-deps.sh [PACKAGE...]: installs every Debian package that building, testing, rendering and
# benchmarking Ambrell needs, the arm64 cross build's among them (install-deps-arm64.sh).
# Safe to run again: apt skips what is present.
set -euo pipefail

packages=(
  # build; the CLAP interface (dpf-source: its clap/ folder only)
  build-essential cmake ninja-build pkg-config dpf-source
  # plug-in: editor window and text
  libx11-dev libxext-dev libfreetype-dev libfontconfig-dev
  fonts-liberation2 fonts-urw-base35
  # host: audio files, loudness and screenshots; play (JACK, and its server for the tests)
  libsndfile1-dev libebur128-dev libpng-dev libjack-jackd2-dev jackd2
  # tests: GoogleTest, a headless X server and synthetic X input
  libgtest-dev libgmock-dev xvfb xauth libxtst-dev x11-utils
  # the Windows module: the cross compiler, GoogleTest's sources to cross-build,
  # and Wine to run its tests (Arial maps to Liberation Sans there too)
  g++-mingw-w64-x86-64 googletest wine wine64 fonts-wine
  # tests: peer plug-ins for the preset files
  amsynth dpf-plugins-vst
  # the Debian package (dpkg-shlibdeps) and its check
  dpkg-dev lintian
  # LV2: the interface headers, hosting through lilv, and the tools that
  # validate and run the bundle (lv2_validate needs sordi's sord_validate)
  lv2-dev liblilv-dev lilv-utils sordi jalv
  # a peer host for the tests: Ardour 7, headless (ardour7-lua)
  ardour
  # benchmarks
  libbenchmark-dev valgrind
  # fuzzing: clang and its runtimes (libFuzzer, sanitizers), which clang only
  # recommends; ThreadSanitizer's runtime comes with g++
  clang libclang-rt-dev
)
packages+=("$@")  # callers' extras, e.g. the benchmarks' peer plug-ins

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
fi

# The arm64 cross build and the emulator its tests run under.
bash "$(dirname "$0")/install-deps-arm64.sh"
