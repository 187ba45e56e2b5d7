#!/usr/bin/env bash
# Makes docs/screenshot.png: the real window under Xvfb after a preset-1 run
# of a few seconds with "+ траектории" ticked. Clicks go to the controls'
# places, which are fixed in twips (15 twips to a pixel).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
morvane1_install_missing xdotool imagemagick
cmake --preset release >/dev/null
cmake --build --preset release --target morvane1 >/dev/null
out=${1:-docs/screenshot.png}
mkdir -p "$(dirname "$out")"
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
(cd assets && exec ../build/release/ui/morvane1) &
app=$!
win=$(xdotool search --sync --name '^Morvane1$' | head -1)
sleep 1
click() {  # centre of a control given in twips: left top width height
  xdotool mousemove --window "$win" $((($1 + $3 / 2) / 15)) $((($2 + $4 / 2) / 15)) click 1
  sleep 0.3
}
click 6120 3760 195 195     # Check15 "+ траектории" (its box)
click 4200 3360 975 300     # Command1 " Начать"
sleep "${RUN_SECONDS:-4}"
click 3480 3720 1215 300    # Command2 "Остановить"
sleep 1
import -window "$win" "$out"
echo "wrote $out"
