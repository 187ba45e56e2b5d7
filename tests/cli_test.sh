#!/usr/bin/env bash
# The headless runner from the outside. The golden files fix whole outputs
# digit for digit: 3 display cycles with the invariants, the last row after
# 10 000 cycles of preset 1 and 1 000 of preset 2 (the whole chain: inputs
# read from text, start set-up, RK4 steps, readout conversion), and one
# verification for each answer, with the picture of one. A change in the
# order of any formula, a row or a word of the report shows here first.
set -u
cli="$1" version="$2"
golden="$(dirname "$0")/golden"
source "$(dirname "$0")/check.sh"
same() {  # golden file, command...: the output is the file's; the exit status is left in rc
  local file=$1; shift
  "$@" >"$tmp/out" 2>&1; rc=$?
  check "$file" "" "$(diff "$golden/$file" "$tmp/out" | head -20)"
}
status() { "$cli" "$@" >/dev/null 2>&1; echo $?; }

same run_preset1.tsv "$cli" --preset 1 --cycles 3 --invariants
same run_preset1_10000.tsv "$cli" --decimal-comma --cycles 10000 --final-only
same run_preset2_1000.tsv "$cli" --preset 2 --cycles 1000 --final-only
check "T after 69 steps: the running sum of h" "0,00690000000000001" \
  "$("$cli" --decimal-comma --cycles 69 --final-only | sed -n 3p | cut -f1)"
same verify_below.tsv "$cli" --verify --precision double --set KR=0 --set KT=0 --set h=0.002 --time 0.0505 \
  --plot "$tmp/a.svg"
check "inconclusive: exit 4" 4 "$rc"
same verify_below.svg cat "$tmp/a.svg"
same verify_acts.tsv "$cli" --verify --decimal-comma --set R1=0,5 --set V0=1 --set w0=10 --set KR=0 --set KT=0 \
  --set h=0,002 --time 0,05 --inject-lateral-force 1E-09
check "a lateral force acts: exit 1" 1 "$rc"
same verify_no_force.csv "$cli" --verify --preset 2 --time 1e-6 --format csv
check "no lateral force: exit 0" 0 "$rc"
check "every CSV row has four fields" "" "$("$cli" --verify --preset 2 --time 1e-6 --format csv 2>/dev/null | awk -F, 'NF != 4')"
same verify_diverges.tsv "$cli" --verify --twist 0.95 --set KR=0 --set KT=0 --set h=0.0005 --time 1
check "no convergence: exit 4" 4 "$rc"

check "the manual names the inputs --help names" \
  "$("$cli" --help | grep -A1 'NAME is one of' | tail -1 | xargs)." \
  "$(grep -A1 '^set one input; NAME is one of' "$(dirname "$0")/../packaging/morvane1-cli.1" | tail -1)"

"$cli" --twist 0.2 --cycles 3000 --final-only --invariants >"$tmp/twist"
check "Eerr is 1E+10 (E - E0) / E0 of the row's own E" "ok" "$(awk -F'\t' 'NR == 1 { split($0, a, "E0="); e0 = a[2] }
  NR == 3 { r = $25 / (1e10 * ($6 - e0) / e0); print (r > 0.999999 && r < 1.000001) ? "ok" : $25 }' "$tmp/twist")"
check "no limit, though the time squared is a double: the threshold is why" "give none in double precision" \
  "$("$cli" --verify --set w0=1e-300 --set V0=0 --set h=0.001 --time 0.1 | tail -1 | grep -o 'give none in double precision')"
for n in 500 501; do  # the longest a number may be, and one more
  check "a refused text of $n characters" "$([ $n = 501 ] && echo yes)" \
    "$("$cli" --set "m0=$(printf 'x%.0s' $(seq $n))" 2>&1 | grep -q 'may have at most 500' && echo yes)"
done

# Exit statuses: 2 a value refused, 3 the run failed, 64 the command line,
# 74 the output lost. Every message is English, starts with the program's
# name and says what failed: the run and its step and time, the value, the
# file; a usage error is one line that ends by pointing to --help.
mkfifo "$tmp/fifo"
printf 'point\th\tFmrv\tforce_bound\tprecision\tverdict\texit\n1\t1\t1\t1\tdouble\tx\t2\n' >"$tmp/bad.tsv"
while IFS='|' read -r want args words; do
  eval "\"\$cli\" >\"\$tmp/out\" 2>\"\$tmp/err\" $args"
  check "exit of $args" "$want" "$?"
  said=$( { [ -z "$words" ] || grep -qF -- "$words" "$tmp/err"; } && echo yes)
  check "message of $args" "0 0 yes" \
    "$(cat "$tmp/out" "$tmp/err" | LC_ALL=C grep -c $'[\xD0-\xD3]') $(grep -vc '^morvane1-cli: ' "$tmp/err") $said"
  [ "$want" = 64 ] && check "usage error of $args" "1 yes" \
    "$(wc -l <"$tmp/err") $(grep -q '; try --help$' "$tmp/err" && echo yes)"
done <<'EOF_TABLE'
2|--set h=abc|input refused: --set h "abc"
2|--set R0=0,5
2|--twist nan
2|--set NC0=3000000000|input refused: --set NC0 "3000000000"
0|--set CT=3E+09
2|--set m0=1e300 --set R0=1e10|input refused: the start set-up fails at J0 = m0 * R0 * R0 / 2: a value left the range
2|--verify --set w0=1e200 --set m1=1|fails at CR = w0 * w0 * m1
2|--sweep V0=1e-200:1e300 --points 2 --set w0=1e10|point 2 (V0 = 1E+300): the start set-up fails at Fmrv
2|--set w0=1e154 --set R1=1e200 --set m1=1e-300 --set V0=0|fails at the loads' start speeds w0 * R1
2|--verify --preset 2 --time 4e-10
2|--verify --preset 2 --time 1
2|--verify --set h=1e-320 --time 1e-318
2|--verify --preset 2 --set m0=-10
2|--verify --set KT=-1
2|--plot-from $tmp/fifo --plot x.png|fifo: not a regular file
2|--plot-from $tmp/bad.tsv --plot x.png|bad.tsv: a row whose exit status is not one a point has
4|--verify --set h=1e-200 --time 1e-198 --inject-lateral-force 1e12
4|--verify --set w0=0
3|--set m0=0|the run failed at its step 1, at T = 0 s: the equations of motion could not be solved: a value left
3|--set m0=1e-300|the run failed at its step 1, at T = 0 s: the equations
3|--set R1=1e-200|the run failed at its step 1, at T = 0 s: the equations
3|--set KR=10 --set h=0.04 --set NC0=100000|at its step 8413, at T = 336.480000000025 s: the equations
3|--set KR=10 --set h=0.04 --set NC0=7 --cycles 99|in the display cycle after its step 658, at T = 26.3199999999996 s: the construction view cannot be drawn at the scale ML = 0.25 m/cm
3|--set ML=0 --cycles 5|in the display cycle after its step 1, at T = 0.0001 s: the construction view cannot be drawn at the scale ML = 0 m/cm
3|--set MF=0|after its step 1, at T = 0.0001 s: a point of the time-history plot cannot be drawn at the scales MT = 0.1 s/cm, MV = 10 (m/s)/cm, MF = 0 N/cm
3|--preset 1 --set KR=10 --set h=0.04 --time 400 --verify|the run at h failed at its step 8350, at T = 334.000000000023 s: the equations
3|--verify --set m0=1e-300|the run at h failed at its step 1, at T = 0 s
3|--verify --precision double --set m0=3e-5|the step h = 0.0001 s is beyond 1.06092736525447E-05 s, the largest the stability rule allows
3|--verify --set R1=1e-200|the run at h failed at its step 1, at T = 0 s
3|--verify --inject-lateral-force 1e308|the run at h failed at its step 1, at T = 0 s
3|--preset 2 --steps 200 --points 2 --sweep h=6e-5:1e-4|2 of the points failed; the first, point 1 (h = 6E-05): the run at h failed at its step 51, at T = 0.00306 s
74|--cycles 1000 >/dev/full|the output could not be written: No space left on device
74|--verify --time 0.01 --plot /proc/answer.png|the picture /proc/answer.png could not be written
64|--frobnicate
64|--preset 3
64|--cycles 0
64|--cycles 3x
64|--set mass=3
64|--time 1
64|--inject-lateral-force 1
64|--verify --time 0
64|--verify --plot .png
64|--verify --plot answer.pdf
64|--cycles 3 --set
64|foo
64|--final-only=yes
64|--verify --format csv --decimal-comma
64|--verify --precision quad
64|--precision extended
64|--plot-from a.tsv --plot a.svg --precision auto
EOF_TABLE
while IFS='|' read -r args want; do
  # shellcheck disable=SC2086
  check "usage error of $args" "morvane1-cli: $want; try --help" "$("$cli" $args 2>&1 >/dev/null)"
done <<'EOF_TABLE'
--twist frob -frob|unknown option "-frob"
--frob=3|unknown option "--frob=3"
--cycles 3 --set|missing value after '--set'
EOF_TABLE
# Each "not converged" says why, with the numbers of its own table, and
# what would tell: the h it names for an unstable step makes 100 steps a
# period; the error it names is the largest of the table's three at h.
"$cli" --verify --set KR=0 --set KT=0 --set h=0.1 --time 3 >"$tmp/v" 2>&1
h=$(tail -1 "$tmp/v" | grep -oE 'set h=[^ ]+' | cut -d= -f2)
check "an unstable step, and the step that tells" "4 100" \
  "$(tail -1 "$tmp/v" | grep -q 'fewer than the 2 Pi' && echo 4) $("$cli" --verify --set KR=0 --set KT=0 --set "h=$h" --time 3 | \
     awk -F'\t' '$1 == "steps_per_period" { printf "%.0f", $2 }')"
"$cli" --verify --set KR=0 --set KT=0 --set h=0.01 --time 10 >"$tmp/v" 2>&1
# The error at h is its difference against h/4 over 1 - 4^-p: at RK4's
# order of about 4 the largest of the three differences, and some 256/255.
check "an error too large: the largest of the three, over 1 - 4^-p" yes \
  "$(awk -F'\t' -v e="$(tail -1 "$tmp/v" | sed 's/.*falls with, is \([^ ]*\) .*/\1/')" \
     '$1 ~ /^(position|angle|energy)_error_h$/ && $2 > d { d = $2 } END { r = e / d * 255 / 256
       if (r > 0.99999 && r < 1.001) print "yes"; else print e, d }' "$tmp/v")"
check "rounding of a long flight, not the step" "agree only to rounding" \
  "$("$cli" --verify --precision double --set V0=1e7 --set R1=0.01 --time 10 | tail -1 | grep -o 'agree only to rounding')"
check "a claim no run can resolve" "more than the 28571428" \
  "$("$cli" --verify --set V0=1e-200 | tail -1 | grep -o 'more than the 28571428')"
check "no claim to resolve" "inconclusive: the claimed force Fmrv is 0 N" \
  "$("$cli" --verify --set V0=0 | tail -1 | cut -d'(' -f1 | sed 's/ $//')"
# 7 * 28571428 steps are within the 2E+08 allowed in all, 7 * 28571429 are
# not; at h = 1 the run overflows at once (3), so the one allowed costs
# nothing. DBL_MIN is the smallest step allowed, the double below it not.
check "the most steps allowed, and the least step" "3 4 2" \
  "$(status --verify --set h=1 --time 28571428) $(status --verify --set h=2.2250738585072014e-308 \
     --time 2.2250738585072014e-307) $(status --verify --set h=2.2250738585072009e-308 --time 2.2250738585072014e-307)"
for run in "h=1e-4 --time 1e308" "h=1 --time 28571429"; do  # more steps than a double holds, and one too many
  err=$("$cli" --verify --set $run 2>&1 >/dev/null)
  check "--set $run: too many steps say so, in numbers" "2 too many 0" "$? $(grep -o 'too many' <<<"$err") $(grep -c INF <<<"$err")"
done
check "a failed run keeps its header" 2 "$("$cli" --set ML=0 --cycles 5 2>/dev/null | wc -l)"
long=$(printf '1%.0s' $(seq 600))
err=$("$cli" --set "h=$long" 2>&1 >/dev/null)
check "a long refused value is quoted a line long" yes \
  "$([ ${#err} -lt 200 ] && grep -q '600 characters; a number may have at most 500' <<<"$err" && echo yes)"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$cli" --version)
check "--version and --help with no display" "0 morvane1-cli $version usage: morvane1-cli" \
  "$? $out $(env -u DISPLAY -u WAYLAND_DISPLAY "$cli" --help | head -1 | cut -d' ' -f1,2)"

# CSV keeps what TSV's first line carries, as four constant columns; with
# decimal commas, semicolons between them, as such spreadsheets read it.
"$cli" --set h=0,0002 --decimal-comma --twist 0,1 --cycles 2 >"$tmp/tsv"
"$cli" --set h=0,0002 --decimal-comma --twist 0,1 --cycles 2 --format csv >"$tmp/csv"
start=$(sed -n '1s/^# J0=\(.*\) CR=\(.*\) Fmrv=\(.*\) E0=\(.*\)$/\1;\2;\3;\4/p' "$tmp/tsv")
check "CSV: J0 CR Fmrv E0 in every row" "T;w0;J0;CR;Fmrv;E0 $start $start" \
  "$(head -1 "$tmp/csv" | cut -d';' -f1,2,25-) $(tail -n +2 "$tmp/csv" | cut -d';' -f25- | tr '\n' ' ' | sed 's/ $//')"
check "CSV: the readouts are TSV's" "$(tail -n +3 "$tmp/tsv" | tr '\t' ';')" "$(tail -n +2 "$tmp/csv" | cut -d';' -f1-24)"
# At rest E0 = 0: Eerr has no value, its cell is empty, and the run goes on.
"$cli" --set V0=0 --set w0=0 --invariants --cycles 3 --format csv >"$tmp/out" 2>&1
check "E0 = 0: Eerr left empty" "0 Eerr ,,, 0,0,0,0" \
  "$? $(head -1 "$tmp/out" | cut -d, -f25) $(tail -n +2 "$tmp/out" | cut -d, -f25 | tr '\n' ',') $(tail -1 "$tmp/out" | cut -d, -f26-29)"

# A closed pipe ends the runner by SIGPIPE, as it does any filter, and the
# README says so.
"$cli" --cycles 100000 2>"$tmp/err" | head -1 >/dev/null
check "a closed pipe" "141  yes" "${PIPESTATUS[0]} $(cat "$tmp/err") $(grep -q 'SIGPIPE (141' "$(dirname "$0")/../README.md" && echo yes)"

# Output that cannot be written is a failure of its own, never a silent loss.
for args in "--cycles 1000" "--cycles 1000 --format csv" "--verify" "--help" "--version"; do
  # shellcheck disable=SC2086
  "$cli" $args >/dev/full 2>"$tmp/err"
  check "$args to a full disk" "74 yes" "$? $(grep -q 'could not be written' "$tmp/err" && echo yes)"
done
# Progress goes to a terminal, and only once a run has taken 2 s.
check "no progress shown for a short run" "" "$(script -qec "'$cli' --cycles 300 >/dev/null" /dev/null)"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$cli" --verify --time 0.01 --plot "$tmp/a.png" >/dev/null 2>&1
check "a PNG with no display" "0 PNG image data, 960 x 640" "$? $(file -b "$tmp/a.png" | cut -d, -f1-2)"
# At rest nothing leaves zero: the picture still has its decades, and says there is no claim.
"$cli" --verify --set V0=0 --set w0=0 --plot "$tmp/rest.svg" >/dev/null 2>&1
check "a picture of a disk at rest" "4 1E+00 1E-20 no lateral force is claimed" \
  "$? $(grep -oE '>1E-20<|>1E\+00<|no lateral force is claimed' "$tmp/rest.svg" | sort -u | tr -d '<>' | tr '\n' ' ' | sed 's/ $//')"

finish
