#!/usr/bin/env bash
# main.sh [OUT_DIR]: installs what is missing, builds the plug-in and the
# host, and shows what the module is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh release
echo "plug-in: $(pwd)/build/release/plugin/ORV-Ambrell2.so"
