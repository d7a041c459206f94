#!/usr/bin/env bash
# check-package.sh DEB: unpacks the package into a scratch root, as dpkg
# would install it, and checks what a new user relies on: the module in
# /usr/lib/vst, the CLAP plug-in in /usr/lib/clap, the LV2 bundle in
# /usr/lib/lv2 and orv-host in /usr/bin with its manual page, the copyright
# file, the runtime dependencies declared, the unpacked orv-host loading each
# unpacked plug-in and telling the package's version; then lintian, whose
# errors fail the check. An arm64 package's orv-host runs under qemu-aarch64
# on another machine, with the arm64 libraries of install-deps-arm64.sh.
set -euo pipefail
deb=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
fail() { echo "check-package: $*" >&2; exit 1; }
run=()
arch=$(dpkg-deb -f "$deb" Architecture)
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
  case "$arch" in
    arm64) run=(qemu-aarch64 -L /usr/aarch64-linux-gnu) ;;
    *) fail "cannot run a $arch package here" ;;
  esac
fi
[ -f "$scratch/usr/lib/vst/ORV-Ambrell2.so" ] || fail "no /usr/lib/vst/ORV-Ambrell2.so"
[ -f "$scratch/usr/lib/clap/ORV-Ambrell2.clap" ] || fail "no /usr/lib/clap/ORV-Ambrell2.clap"
[ -f "$scratch/usr/lib/lv2/ORV-Ambrell2.lv2/manifest.ttl" ] || fail "no /usr/lib/lv2/ORV-Ambrell2.lv2"
[ -x "$scratch/usr/bin/orv-host" ] || fail "no /usr/bin/orv-host"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libx11-6 libxext6 libfreetype6 libfontconfig1 fonts-liberation2; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
"${run[@]}" "$scratch/usr/bin/orv-host" info "$scratch/usr/lib/vst/ORV-Ambrell2.so" | grep -q '^effect name:    Ambrell - ORV$' ||
  fail "the unpacked orv-host does not load the unpacked module"
"${run[@]}" "$scratch/usr/bin/orv-host" info "$scratch/usr/lib/clap/ORV-Ambrell2.clap" | grep -q '^effect name:    Ambrell - ORV$' ||
  fail "the unpacked orv-host does not load the unpacked CLAP plug-in"
"${run[@]}" "$scratch/usr/bin/orv-host" info "$scratch/usr/lib/lv2/ORV-Ambrell2.lv2" | grep -q '^effect name:    Ambrell - ORV$' ||
  fail "the unpacked orv-host does not load the unpacked LV2 bundle"
[ -f "$scratch/usr/share/man/man1/orv-host.1.gz" ] || fail "no orv-host manual page"
[ -f "$scratch/usr/share/doc/ambrell/copyright" ] || fail "no copyright file"
version=$(dpkg-deb -f "$deb" Version)
[ "$("${run[@]}" "$scratch/usr/bin/orv-host" --version)" = "orv-host (Ambrell) $version" ] ||
  fail "orv-host --version does not tell the package's version $version"
# Root runs it in CI and in scripts/test.sh; informational tags are left out.
lintian --allow-root --fail-on error "$deb" || fail "lintian reports errors"
echo "check-package: $deb unpacks, loads and passes lintian"
