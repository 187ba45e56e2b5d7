#!/usr/bin/env bash
# Makes docs/sweep.png, the README's figure of the sweep: the claimed force
# against the largest force each run allows, over eight decades of V0 and six
# of w0, with the runner's own --plot (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
morvane1_install_missing
cmake --preset release >/dev/null
cmake --build --preset release --target morvane1-cli >/dev/null
out=${1:-docs/sweep.png}
mkdir -p "$(dirname "$out")"
status=0
build/release/cli/morvane1-cli --sweep V0=1e-3:1e5 --sweep w0=0.2:2e5 --points 9 --plot "$out" | tail -1 || status=$?
# 4: some points cannot resolve their claim, as the figure shows.
[ "$status" -eq 4 ] || echo "morvane1-cli --sweep exited with $status" >&2
echo "wrote $out"
