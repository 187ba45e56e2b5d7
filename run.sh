#!/usr/bin/env bash
# Installs what is missing, builds the window and the headless runner and
# only what they need (no tests, no benchmarks: ./test.sh builds those), and
# opens the Morvane1 window. Its options go to the window: --help and
# --version answer without opening it, so ./run.sh --version only builds.
set -euo pipefail
cd "$(dirname "$0")"
say() { echo "run.sh: $*"; }
source tools/deps.sh
say "checking the Debian packages the build needs"
morvane1_install_missing
say "configuring build/release"
cmake --preset release >/dev/null
say "building the window and the runner"
cmake --build --preset release --target morvane1 morvane1-cli
# "схема" looks in the working folder first.
cd assets
say "starting the window program"
exec ../build/release/ui/morvane1 "$@"
