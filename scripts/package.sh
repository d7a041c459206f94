#!/usr/bin/env bash
# package.sh [OUT_DIR]: builds the Debian package ambrell_VERSION_amd64.deb
# (default in the checkout): the module in /usr/lib/vst and orv-host in
# /usr/bin, installed by cmake --install from the optimised build. The
# package depends on the shared libraries both link against (found by
# dpkg-shlibdeps: X11, FreeType, fontconfig, libsndfile, libpng, libebur128)
# and on a font with Arial's metrics, which the editor's text is laid out
# for.
set -euo pipefail
out=$(realpath -m "${1:-$(dirname "$0")/..}")
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release >/dev/null
version=$(sed -n 's/^project(Ambrell VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
work=$(pwd)/build/package
root=$work/root
rm -rf "$work"
mkdir -p "$root/DEBIAN" "$work/debian"
DESTDIR=$root cmake --install build/release --prefix /usr --strip >/dev/null

# dpkg-shlibdeps reads the package's name from a control file of the source.
printf 'Source: ambrell\n\nPackage: ambrell\nArchitecture: amd64\n' >"$work/debian/control"
libs=$(cd "$work" && dpkg-shlibdeps -O root/usr/bin/orv-host root/usr/lib/vst/ORV-Ambrell2.so 2>/dev/null |
       sed -n 's/^shlibs:Depends=//p')
size=$(du -sk "$root/usr" | cut -f1)
cat >"$root/DEBIAN/control" <<CONTROL
Package: ambrell
Version: $version
Architecture: amd64
Maintainer: ORV - Orvane Instruments <ambrell@orvane.invalid>
Installed-Size: $size
Depends: $libs, fonts-liberation2 | fonts-liberation
Section: sound
Priority: optional
Description: Ambrell - ORV, a monophonic analog-style synthesizer (VST 2.x)
 A monophonic subtractive synthesizer as a VST 2.x instrument plug-in for
 Linux hosts (installed in /usr/lib/vst), with its own editor, and
 orv-host, a command-line host that lists, plays, renders and saves the
 presets of any VST 2.x plug-in.
CONTROL
deb=$out/ambrell_${version}_amd64.deb
dpkg-deb --root-owner-group --build "$root" "$deb" >/dev/null
echo "$deb"
