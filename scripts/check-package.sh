#!/usr/bin/env bash
# check-package.sh DEB: unpacks the package into a scratch root, as dpkg
# would install it, and checks what a new user relies on: the module in
# /usr/lib/vst and orv-host in /usr/bin, the runtime dependencies declared,
# and the unpacked orv-host loading the unpacked module.
set -euo pipefail
deb=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
fail() { echo "check-package: $*" >&2; exit 1; }
[ -f "$scratch/usr/lib/vst/ORV-Ambrell2.so" ] || fail "no /usr/lib/vst/ORV-Ambrell2.so"
[ -x "$scratch/usr/bin/orv-host" ] || fail "no /usr/bin/orv-host"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libx11-6 libfreetype6 libfontconfig1 fonts-liberation2; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
"$scratch/usr/bin/orv-host" info "$scratch/usr/lib/vst/ORV-Ambrell2.so" | grep -q '^effect name:    Ambrell - ORV$' ||
  fail "the unpacked orv-host does not load the unpacked module"
echo "check-package: $deb unpacks and loads"
