#!/usr/bin/env bash
# Installs what is missing, builds the window program and only what it
# needs (no tests, no benchmarks: ./test.sh builds those), and opens the
# Morvane1 window.
set -euo pipefail
cd "$(dirname "$0")"
say() { echo "run.sh: $*"; }
source tools/deps.sh
say "checking the Debian packages the build needs"
morvane1_install_missing
say "configuring build/release"
cmake --preset release >/dev/null
say "building the window program"
cmake --build --preset release --target morvane1
# "схема" looks in the working folder first.
cd assets
say "opening the window"
exec ../build/release/ui/morvane1 "$@"
