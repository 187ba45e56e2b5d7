#!/usr/bin/env bash
# Installs what is missing, builds and runs Morvane1 (for now the headless
# runner on preset 2, printing its final display cycle).
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
morvane1_install_missing
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/cli/morvane1-cli --preset 2 --cycles 100 --final-only "$@"
