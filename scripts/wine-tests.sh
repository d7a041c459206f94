#!/usr/bin/env bash
# wine-tests.sh [CTEST-ARGS...]: runs the Windows build's tests (build/windows,
# bash scripts/build.sh windows) under Wine inside a private Xvfb, and
# compares the Windows module with the Linux one (build/release).
#
# One throw-away Wine prefix serves the whole run (making one takes ~9 s and
# ~700 MB): it lives in a temporary folder, its server is kept up for the run
# and ended with the prefix's own `wineserver -k`, then the folder goes.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != --inside-xvfb ]; then
  exec bash scripts/with-xvfb.sh bash "$0" --inside-xvfb "$@"
fi
shift

dll=build/windows/plugin/ORV-Ambrell2.dll
linux_match=build/release/tests/windows/module_match_test
[ -f "$dll" ] || { echo "wine-tests.sh: $dll is missing: run bash scripts/build.sh windows" >&2; exit 1; }
[ -x "$linux_match" ] || { echo "wine-tests.sh: $linux_match is missing: run bash scripts/build.sh release" >&2; exit 1; }
command -v wine >/dev/null || { echo "wine-tests.sh: wine is not installed (bash scripts/install-deps.sh)" >&2; exit 1; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/orv-wine.XXXXXX")
export WINEPREFIX="$scratch/prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer dialog when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  exec 7>&- 2>/dev/null || true  # the session keeper's input: it ends
  wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

started=$SECONDS
mkdir -p "$WINEPREFIX"
wineserver -p  # one server for every program of the run
wine wineboot --init >/dev/null 2>&1 || { echo "wine-tests.sh: wineboot could not make the prefix" >&2; exit 1; }
# A console waiting on a pipe keeps the session's system processes (services,
# RPC, the desktop) up between the test programs. Without it Wine ends them
# after every program and starts them again for the next: about a second
# each time, and 10 s once the editor's libraries need the RPC service.
mkfifo "$scratch/keeper"
wine cmd <"$scratch/keeper" >/dev/null 2>&1 &
exec 7>"$scratch/keeper"
# Without a window manager Wine waits 2 s for every captioned window that
# closes, unless it leaves the windows unmanaged.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
echo "wine-tests.sh: prefix ready in $((SECONDS - started)) s"

status=0
# The Linux module's fingerprint; the Windows run compares with it and
# writes its own, which the Linux module then loads in turn.
export ORV_FINGERPRINT_OTHER="$scratch/linux.txt" ORV_FINGERPRINT_OUT="$scratch/windows.txt"
ORV_FINGERPRINT_OTHER= ORV_FINGERPRINT_OUT="$scratch/linux.txt" "$linux_match" --gtest_brief=1 || status=1
ctest --test-dir build/windows --output-on-failure "$@" || status=1
if [ -f "$scratch/windows.txt" ]; then
  echo "== the Linux module against the Windows fingerprint"
  ORV_FINGERPRINT_OTHER="$scratch/windows.txt" ORV_FINGERPRINT_OUT= "$linux_match" || status=1
elif [[ " $* " =~ \ -(R|E|L|LE)\  ]]; then
  echo "wine-tests.sh: the Windows fingerprint was not made in this selection: nothing to compare back"
else
  echo "wine-tests.sh: the Windows run wrote no fingerprint" >&2
  status=1
fi
echo "wine-tests.sh: $((SECONDS - started)) s in all"
exit $status
