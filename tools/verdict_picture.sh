#!/usr/bin/env bash
# Makes docs/verdict.png, the README's picture of the verifier's answer for
# preset 2, with the runner's own --plot (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
morvane1_install_missing
cmake --preset release >/dev/null
cmake --build --preset release --target morvane1-cli >/dev/null
out=${1:-docs/verdict.png}
mkdir -p "$(dirname "$out")"
status=0
build/release/cli/morvane1-cli --verify --preset 2 --plot "$out" | tail -1 || status=$?
# 0 is the verdict "no lateral force"; anything else is worth a look.
[ "$status" -eq 0 ] || echo "morvane1-cli --verify exited with $status" >&2
echo "wrote $out"
