#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
bash scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" -j"$(nproc)" --output-on-failure --timeout 600
