# What the shell tests share, sourced: check NAME EXPECTED ACTUAL counts a
# pass or prints both sides; finish prints the count and exits 0 only when
# nothing failed. $tmp is a scratch folder that goes with the shell.
fail=0 passed=0
check() {
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
    fail=$((fail + 1)); printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"; fi
}
finish() { echo "$passed passed, $fail failed"; [ $fail -eq 0 ]; exit; }
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
