#!/usr/bin/env bash
# Makes one of the README's figures with the runner's own --plot (no display
# needed):
#   tools/picture.sh verdict [OUT]  the verifier's answer for preset 2 (docs/verdict.png)
#   tools/picture.sh sweep [OUT]    the map of the answers over eight decades of
#                                   V0 and six of w0, with each claimed force
#                                   against the largest force its run allows
#                                   (docs/sweep.png)
set -euo pipefail
cd "$(dirname "$0")/.."
case ${1:-} in
  verdict) args=(--verify --preset 2) expected=0 ;;  # 0: "no lateral force"
  sweep) args=(--sweep V0=1e-3:1e5 --sweep w0=0.2:2e5 --points 9) expected=0 ;;  # 0: every point answers "no lateral force"
  *) echo "usage: $0 verdict|sweep [OUT]" >&2; exit 64 ;;
esac
source tools/deps.sh
morvane1_install_missing
cmake --preset release >/dev/null
cmake --build --preset release --target morvane1-cli >/dev/null
out=${2:-docs/$1.png}
mkdir -p "$(dirname "$out")"
status=0
build/release/cli/morvane1-cli "${args[@]}" --plot "$out" | tail -1 || status=$?
# Another answer than the figure shows is worth a look.
[ "$status" -eq "$expected" ] || echo "morvane1-cli ${args[*]} exited with $status" >&2
echo "wrote $out"
