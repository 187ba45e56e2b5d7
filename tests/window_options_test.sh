#!/usr/bin/env bash
# The window program's own options with no display at all: the help, the
# version and a refused rate are answered before any window is made; what
# Qt leaves over is refused once the application object exists.
set -u
prog="$1" version="$2"
source "$(dirname "$0")/check.sh"
run() {  # the lines written and the exit status, joined by |
  { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="${platform:-xcb}" "$prog" "$@" 2>&1; echo "exit $?"; } |
    sed 's/ is not a rate.*/ is not a rate/' | paste -sd'|'
}

check "--version, Qt's options left to Qt" "morvane1 $version|exit 0" "$(run -platform offscreen --version -style Fusion)"
check "--help: the four options, then Qt's, exit 0" yes \
  "$(run --rate abc --help | grep -qE -- "\|  --rate R .*\|  --lang L .*\|  --version .*\|  --help .*\|Qt's own options.*\|exit 0$" && echo yes)"
# A refused rate: one line naming it, one pointing to --help, status 64.
for rate in abc -1 1E+10 5e-10 nan '' 1,500; do
  check "--rate '$rate'" "morvane1: --rate \"$rate\" is not a rate|Try 'morvane1 --help'.|exit 64" "$(run --rate "$rate")"
done
check "--lang EN" "morvane1: --lang \"EN\" is not a language of the window: give ru or en|Try 'morvane1 --help'.|exit 64" \
  "$(run --lang EN --rate 1)"
check "--rate without its value" "morvane1: Missing value after '--rate'.|Try 'morvane1 --help'.|exit 64" \
  "$(run -platform offscreen --rate)"
# shellcheck disable=SC2086
check "--bogus, stray, --rat after Qt's options" "exit 64|exit 64|exit 64" "$(for args in --bogus stray '--rate 1 --rat 2'; do
  platform=offscreen run -style Fusion $args | sed 's/.*|//'; done | paste -sd'|')"
finish
