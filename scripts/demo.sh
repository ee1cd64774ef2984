#!/usr/bin/env bash
# Installs what is needed, builds Quillon and sets up its default configuration database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
bash scripts/build.sh
echo "Built: $(pwd)/${BUILD_DIR:-build}/quillon-cli"
echo "Default configuration database: $(pwd)/${BUILD_DIR:-build}/Db/replcfg.gdb"
"${BUILD_DIR:-build}/quillon-cli" --help
