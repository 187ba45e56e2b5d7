#!/usr/bin/env bash
# Installs what is missing, builds and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
morvane1_install_missing
cmake --preset release
cmake --build --preset release
ctest --preset release -j2
