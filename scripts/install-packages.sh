#!/usr/bin/env bash
# Installs the Debian packages Quillon builds, runs and tests with.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake pkg-config \
  firebird3.0-server-core libfbclient2 firebird-dev firebird3.0-utils \
  qt6-base-dev libgl-dev \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  xvfb xauth >/dev/null
