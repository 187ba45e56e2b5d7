#!/usr/bin/env bash
# Makes docs/screenshot.png: the real window under Xvfb after a preset-1 run
# of a few seconds with "+ траектории" ticked. Clicks go to the controls'
# places, read by name from the window's control table (twips, 15 to a
# pixel).
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
win=$(xdotool search --sync --name '^Morvane1( |$)' | head -1)
sleep 1
click() {  # the centre of a control named as in the table, e.g. Button::Start
  local l t w h
  read -r l t w h < <(grep -o "$1, [0-9]*, [0-9]*, [0-9]*, [0-9]*" ui/form1_controls.cpp | tr -d , | cut -d' ' -f2-)
  # A check box is clicked on its box, at the left end.
  [[ $1 == Box::* ]] && w=$h
  xdotool mousemove --window "$win" $(((l + w / 2) / 15)) $(((t + h / 2) / 15)) click 1
  sleep 0.3
}
click Box::Trajectories
click Button::Start
sleep "${RUN_SECONDS:-4}"
click Button::Stop
sleep 1
import -window "$win" "$out"
echo "wrote $out"
