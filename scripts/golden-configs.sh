# shellcheck shell=bash
# golden-configs.sh: the render configurations the golden comparisons play
# every factory program through (sourced by golden.sh and golden-arm64.sh):
# the bench phrase, plus the stress phrase with program changes, controller
# bursts, pitch bends and legato keys, at 44.1, 48, 96 and 192 kHz, in
# blocks of 256, 100, 512, 37 and 1 frames.
# shellcheck disable=SC2034 # used by the scripts that source this one
golden_configs=(
  "--seconds 20 --rate 44100 --block 256"
  "--seconds 20 --rate 48000 --block 100 --stress"
  "--seconds 10 --rate 96000 --block 512 --stress"
  "--seconds 5 --rate 192000 --block 37 --stress"
  "--seconds 3 --rate 44100 --block 1 --stress"
)
