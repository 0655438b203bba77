#!/usr/bin/env bash
# Installs what Kelvane needs on Debian/Ubuntu, then configures and builds it
# into ./build. Safe to run again: it only does what is still to be done.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    googletest libgtest-dev libbenchmark-dev
    fonts-dejavu-core
)

./scripts/install-packages.sh "${packages[@]}"

cmake --preset dev "$@"
cmake --build --preset dev --parallel
