#!/usr/bin/env bash
# Installs what is missing, builds and opens the Morvane1 window.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
morvane1_install_missing
cmake --preset release >/dev/null
cmake --build --preset release
# The scheme button reads shema.gif from the working directory.
cd assets
exec ../build/release/ui/morvane1 "$@"
