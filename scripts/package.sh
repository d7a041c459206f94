#!/usr/bin/env bash
# package.sh [amd64|arm64] [OUT_DIR]: builds the Debian package
# ambrell_VERSION_ARCH.deb (default amd64, in the checkout): the module in
# /usr/lib/vst, the CLAP plug-in in /usr/lib/clap, the LV2 bundle in
# /usr/lib/lv2, orv-host in /usr/bin and its manual page, installed by cmake
# --install from the optimised build (for arm64, the cross build of
# build.sh arm64), with the copyright file (docs/copyright) and a changelog
# in /usr/share/doc/ambrell. The package depends on the shared libraries they
# link against (found by dpkg-shlibdeps: X11, FreeType, fontconfig,
# libsndfile, libpng, libebur128, JACK, lilv) and on a font with Arial's
# metrics, which the editor's text is laid out for.
set -euo pipefail
arch=amd64
case "${1:-}" in
  amd64|arm64) arch=$1; shift ;;
esac
out=$(realpath -m "${1:-$(dirname "$0")/..}")
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
case "$arch" in
  amd64) build=build/release; bash scripts/build.sh release >/dev/null ;;
  # The package needs only what it installs; the tests are built elsewhere.
  arm64) build=build/arm64
         bash scripts/build.sh arm64 ORV-Ambrell2 ORV-Ambrell2-clap orv_lv2 orv_lv2_turtle orv-host >/dev/null ;;
esac
version=$(sed -n 's/^project(Ambrell VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
work=$(pwd)/build/package-$arch
root=$work/root
rm -rf "$work"
mkdir -p "$root/DEBIAN" "$work/debian"
DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null
gzip -9n "$root/usr/share/man/man1/orv-host.1"

# Debian's documentation: the copyright file, and the changelog a native
# package carries, pointing to the project's own.
doc=$root/usr/share/doc/ambrell
mkdir -p "$doc"
install -m 644 docs/copyright "$doc/copyright"
when=$(git log -1 --format=%cD 2>/dev/null || date -R)
cat >"$work/changelog" <<CHANGELOG
ambrell ($version) unstable; urgency=medium

  * Ambrell $version. The changes are listed in CHANGELOG.md in the sources.

 -- ORV - Orvane Instruments <ambrell@orvane.invalid>  $when
CHANGELOG
gzip -9n <"$work/changelog" >"$doc/changelog.gz"
chmod 644 "$doc/changelog.gz"

# dpkg-shlibdeps reads the package's name from a control file of the source.
# dpkg-architecture -a makes it look the libraries up among those of the
# package's architecture (multiarch).
printf 'Source: ambrell\n\nPackage: ambrell\nArchitecture: %s\n' "$arch" >"$work/debian/control"
binaries=(root/usr/bin/orv-host root/usr/lib/vst/ORV-Ambrell2.so)
for b in root/usr/lib/clap/ORV-Ambrell2.clap root/usr/lib/lv2/ORV-Ambrell2.lv2/ORV-Ambrell2.so; do
  [ -e "$work/$b" ] && binaries+=("$b")
done
libs=$(cd "$work" && dpkg-architecture -a "$arch" -c \
         dpkg-shlibdeps -O "${binaries[@]}" 2>/dev/null |
       sed -n 's/^shlibs:Depends=//p')
[ -n "$libs" ] || { echo "package.sh: dpkg-shlibdeps found no libraries for $arch" >&2; exit 1; }
size=$(du -sk "$root/usr" | cut -f1)
cat >"$root/DEBIAN/control" <<CONTROL
Package: ambrell
Version: $version
Architecture: $arch
Maintainer: ORV - Orvane Instruments <ambrell@orvane.invalid>
Installed-Size: $size
Depends: $libs, fonts-liberation2 | fonts-liberation
Section: sound
Priority: optional
Description: monophonic analog-style synthesizer (VST 2.x, CLAP and LV2 plug-in)
 Ambrell - ORV is a monophonic subtractive synthesizer, a VST 2.x
 instrument for Linux hosts (installed in /usr/lib/vst) and the same
 instrument as a CLAP plug-in (in /usr/lib/clap) and an LV2 plug-in (in
 /usr/lib/lv2), with its own editor, and orv-host, a command-line host
 that lists, plays, renders and saves the presets of any VST 2.x, CLAP or
 LV2 plug-in.
CONTROL
deb=$out/ambrell_${version}_${arch}.deb
dpkg-deb --root-owner-group --build "$root" "$deb" >/dev/null
echo "$deb"
