#!/usr/bin/env bash
# Renders the 64 px launcher icon morvane1-64.png from morvane1.svg. Run it
# after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
source ../tools/deps.sh
morvane1_install_missing librsvg2-bin
rsvg-convert --width 64 --height 64 --format png morvane1.svg --output morvane1-64.png
