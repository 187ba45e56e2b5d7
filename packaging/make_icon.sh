#!/usr/bin/env bash
# Renders the 64 px launcher icon morvane1-64.png from morvane1.svg. Run it
# after changing the SVG; installs librsvg2-bin from Debian when rsvg-convert
# is missing.
set -euo pipefail
cd "$(dirname "$0")"
if ! command -v rsvg-convert >/dev/null; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
rsvg-convert --width 64 --height 64 --format png morvane1.svg --output morvane1-64.png
