#!/usr/bin/env bash
# The window program's own options with no display at all: the help, the
# version and a refused rate are answered before any window is made; what
# Qt leaves over is refused once the application object exists.
set -u
prog="$1" version="$2"
fail=0 passed=0
check() {  # name, expected, actual
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
    fail=$((fail + 1)); printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"; fi
}
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="${platform:-xcb}" "$prog" "$@" 2>&1; echo "exit $?"; }

check "--version, Qt's options left to Qt" "morvane1 $version|exit 0" \
  "$(run -platform offscreen --version -style Fusion | paste -sd'|')"
check "--help: the three options, Qt's, exit 0" "--help|--rate R|--version|Qt's own options|exit 0" \
  "$(run --rate abc --help | grep -oE -- "^  --[a-z]+( R)?|^Qt's own options|^exit 0" | sed 's/^ *//' | sort | paste -sd'|')"
# A refused rate: one line naming it, one pointing to --help, status 64.
for rate in abc -1 1E+10 1e-12 nan '' 1,500; do
  check "--rate '$rate'" "morvane1: --rate \"$rate\" is not a rate|Try 'morvane1 --help'.|exit 64" \
    "$(run --rate "$rate" | sed 's/ is not a rate.*/ is not a rate/' | paste -sd'|')"
done
check "--rate without its value" "morvane1: Missing value after '--rate'.|Try 'morvane1 --help'.|exit 64" \
  "$(run -platform offscreen --rate | paste -sd'|')"
for args in "--bogus" "stray" "--rate 1 --rat 2"; do
  # shellcheck disable=SC2086
  check "$args after Qt's options" "exit 64" "$(platform=offscreen run -style Fusion $args | tail -1)"
done

echo "$passed passed, $fail failed"
[ $fail -eq 0 ]
