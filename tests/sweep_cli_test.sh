#!/usr/bin/env bash
# The sweep from the outside: the same table on any number of threads and
# in parts, each row the answer of a single --verify of its printed inputs,
# the figure from the tables merged, and every bad request refused before
# anything runs.
set -u
cli="$1"
source "$(dirname "$0")/check.sh"
rows() { grep -v '^#' "$@"; }

# V0 and w0 over four decades, 2000 steps a point: from the claims that
# preset 1's disk cannot resolve to those it refutes by decades.
grid=(--sweep V0=1e-3:10 --sweep w0=2:2e4 --points 3 --steps 2000 --precision double)
"$cli" "${grid[@]}" --jobs 1 >"$tmp/one"; one=$?
"$cli" "${grid[@]}" --jobs 2 >"$tmp/two"
"$cli" "${grid[@]}" --part 1/2 >"$tmp/p1"
"$cli" "${grid[@]}" --part 2/2 >"$tmp/p2"
"$cli" "${grid[@]}" --part 2/2 --set KT=0.2 >"$tmp/q2"
check "--jobs 1 and --jobs 2: the same bytes" "" "$(cmp "$tmp/one" "$tmp/two")"
check "one row a point, in grid order" "1 2 3 4 5 6 7 8 9" "$(rows "$tmp/one" | tail -n +2 | cut -f1 | tr '\n' ' ' | sed 's/ $//')"
check "some resolved, some not: exit 4 and the count" \
  "4 # 9 points: 3 no lateral force, 0 a lateral force acts, 6 inconclusive, 0 failed" "$one $(tail -1 "$tmp/one")"
# By default the six double cannot tell run again in extended precision, and answer.
"$cli" "${grid[@]:0:8}" --jobs 2 >"$tmp/auto"
check "auto: the six in extended answer" "0 # 9 points: 9 no lateral force, 0 a lateral force acts, 0 inconclusive, 0 failed 6" \
  "$? $(tail -1 "$tmp/auto") $(rows "$tmp/auto" | grep -c "$(printf '\textended\t')")"

# Every row is what a single --verify of its printed inputs, h and time says.
# (The auto sweep's extended row by the default, auto, as well.)
while IFS=$'\t' read -r point v0 w0 h time steps _ _ _ _ _ precision verdict exit; do
  "$cli" --verify --set "V0=$v0" --set "w0=$w0" --set "h=$h" --time "$time" --precision "${precision/extended/auto}" \
    >"$tmp/v" 2>&1
  got=$?
  check "point $point: its own --verify" "$exit $steps" "$got $(grep -P '^steps\t' "$tmp/v" | cut -f2)"
done < <(rows "$tmp/one" | sed -n '2p;6p;10p'; rows "$tmp/auto" | sed -n 2p)

# A force that acts is found at every point; an explicit h and time are
# every point's.
"$cli" --sweep V0=10:1000 --points 2 --steps 1000 --inject-lateral-force 1e-3 >"$tmp/acts"
check "an injected force: exit 1" "1 # 2 points: 0 no lateral force, 2 a lateral force acts, 0 inconclusive, 0 failed" \
  "$? $(tail -1 "$tmp/acts")"
"$cli" --sweep V0=1e10:1e12 --points 2 --steps 100 --precision double >/dev/null 2>&1
check "the ends of a sweep are numbers, not 32-bit counts" 4 "$?"
"$cli" --sweep KR=0:2 --points 3 --set h=0,001 --time 0,5 --format csv --decimal-comma >"$tmp/csv" 2>"$tmp/err"
# The sweep's first line names them too, in numbers that read back alike.
check "fixed h and time, CSV with decimal commas" "0,001;0,5;500 0,001;0,5;500 0,001;0,5;500 morvane1-cli: 3 points h=0.001 time=0.5" \
  "$(rows "$tmp/csv" | tail -n +2 | cut -d';' -f3-5 | tr '\n' ' ')$(cut -c1-22 "$tmp/err")$(head -1 "$tmp/csv" | grep -oE ' (h|time)=[^ ]+' | tr -d '\n')"

# A point that claims nothing says so; one whose runs all fail makes the
# sweep's answer a failure; a point is one point.
"$cli" --sweep w0=-20:20 --points 3 --steps 300 >"$tmp/w0"
check "w0 = 0 claims no force" "inconclusive: no force is claimed" "$(rows "$tmp/w0" | sed -n 3p | cut -f12)"
"$cli" --preset 2 --steps 200 --points 2 --sweep h=6e-5:1e-4 >"$tmp/fails" 2>/dev/null
check "every run failed: exit 3" "3 # 2 points: 0 no lateral force, 0 a lateral force acts, 0 inconclusive, 2 failed" \
  "$? $(tail -1 "$tmp/fails")"
"$cli" --sweep V0=1e5:1e6 --points 2 --part 1/2 --preset 2 --steps 100 --steps-per-period 50 >"$tmp/single"
check "one point, no force: exit 0" "0 # 1 point: 1 no lateral force, 0 a lateral force acts, 0 inconclusive, 0 failed" \
  "$? $(tail -1 "$tmp/single")"
check "one point, a force: exit 1" 1 "$("$cli" --sweep V0=10:20 --points 1 --steps 100 --inject-lateral-force 1 >"$tmp/force"; echo $?)"

# The figure from the saved tables, merged; its title states the answer.
"$cli" --plot-from "$tmp/p1" "$tmp/p2" --plot "$tmp/fig.svg" >"$tmp/out"
check "--plot-from: the parts' answer" "4 # 9 points: 3 no lateral force, 0 a lateral force acts, 6 inconclusive, 0 failed" \
  "$? $(cat "$tmp/out")"
# The figure byte for byte; its title's decades, 1.4 to 3.4, are the least and
# most of log10(|Fmrv| / force_bound) over the rows that answered 0.
check "the figure, as drawn" "" "$(cmp "$(dirname "$0")/golden/sweep.svg" "$tmp/fig.svg" 2>&1)"
# A part of another sweep is refused by what differs; a part missing is
# counted, and leaves the answer open even where every point present says
# no force; a table with no identity line is taken as a whole sweep.
check "a part of another sweep" "(KT=0.2 against KT=0.1)" \
  "$("$cli" --plot-from "$tmp/p1" "$tmp/q2" --plot "$tmp/x.svg" 2>&1 | grep -oF '(KT=0.2 against KT=0.1)')"
check "a part run in another precision" "(precision=auto against precision=double)" \
  "$("$cli" --plot-from "$tmp/p1" "$tmp/auto" --plot "$tmp/x.svg" 2>&1 | grep -oF '(precision=auto against precision=double)')"
rows "$tmp/single" >"$tmp/hand"
while IFS='|' read -r want table words; do
  "$cli" --plot-from "$tmp/$table" --plot "$tmp/x.svg" >"$tmp/out" 2>"$tmp/err"
  check "--plot-from $table" "$want yes" "$? $(grep -qF "$words" "$tmp/out" "$tmp/err" && echo yes)"
done <<'EOF_TABLE'
4|p1|4 of the sweep's 9 points are in none of these tables (the first: point 2)
4|p1|# 5 points:
4|single|1 of the sweep's 2 points are in none
1|force|# 1 point: 0 no lateral force, 1 a lateral force acts
0|hand|its rows are taken as the whole sweep
EOF_TABLE
# A column a spreadsheet added, empty in every row: each row ends in a tab.
awk -F'\t' -v OFS='\t' '/^#/ { print; next } { print $0, ($1 == "point" ? "note" : "") }' "$tmp/one" >"$tmp/note"
check "a table with an empty last column read back" "4" \
  "$("$cli" --plot-from "$tmp/note" --plot "$tmp/note.svg" >/dev/null; echo $?)"
"$cli" --plot-from "$tmp/csv" --plot "$tmp/fig.png" >/dev/null
check "a CSV table with decimal commas read back" "PNG image data" "$(file -b "$tmp/fig.png" | cut -d, -f1)"

# Refused before anything runs: a usage error (64) or a value (2), one line.
mkfifo "$tmp/fifo" "$tmp/fifo.svg"
printf 'not\ta table\n' >"$tmp/text"
head -3 "$tmp/one" >"$tmp/cut" && head -4 "$tmp/one" | tail -1 | cut -f1-5 >>"$tmp/cut"
sed '3s/\t[^\t]*\t[^\t]*$/\t1.5/' "$tmp/one" | head -4 >"$tmp/exit"
awk -F'\t' -v OFS='\t' 'NR == 3 { $7 = "abc" } 1' "$tmp/one" >"$tmp/abc"
awk -F'\t' -v OFS='\t' 'NR == 3 { $1 = "1e300" } 1' "$tmp/one" >"$tmp/huge"
awk -F'\t' -v OFS='\t' 'NR == 3 { $1 = 10 } 1' "$tmp/p1" >"$tmp/beyond"
"$cli" --sweep KR=0:1 --points 2 --steps 200 >"$tmp/other"
printf '\xEF\xBB\xBF' >"$tmp/bom" && sed '1s/\([^\t]*\)/"\1"/g' "$tmp/hand" >>"$tmp/bom"
head -2 "$tmp/one" >"$tmp/header"
while read -r want args; do
  # shellcheck disable=SC2086
  "$cli" $args >"$tmp/out" 2>"$tmp/err"
  check "$args" "$want 1 0" "$? $(wc -l <"$tmp/err") $(wc -c <"$tmp/out")"
done <<EOF_TABLE
64 --sweep V0=0:10:log
64 --sweep V0=-1:10:log
64 --sweep mass=1:2
64 --sweep NC0=1:5
64 --sweep V0=1:2 --sweep MT=1:2:lin
64 --sweep V0=1:2 --sweep V0=3:4
64 --sweep V0=1:2 --sweep w0=1:2 --sweep m0=1:2
64 --sweep V0=1:2 --points 0
64 --sweep V0=1:2 --points 1000000
64 --sweep V0=1:2 --sweep w0=1:2 --points 1000
64 --sweep V0=1:2 --part 3/2
64 --sweep V0=1:2 --part 0/2
64 --sweep V0=1:2 --jobs 0
64 --sweep V0=1:2 --set V0=3
64 --sweep V0=1:2:cubic
64 --sweep V0=12
64 --points 3
64 --plot-from $tmp/one
2 --sweep V0=a:2
2 --sweep m0=-1:1 --points 3
2 --sweep h=1e-320:1e-300 --points 2
2 --plot-from /dev/zero --plot $tmp/x.png
2 --plot-from $tmp/fifo --plot $tmp/x.png
2 --plot-from $tmp/text --plot $tmp/x.png
2 --plot-from $tmp/p1 $tmp/p1 --plot $tmp/x.png
2 --plot-from $tmp/missing --plot $tmp/x.png
2 --plot-from $tmp/cut --plot $tmp/x.png
2 --plot-from $tmp/exit --plot $tmp/x.png
2 --plot-from $tmp/abc --plot $tmp/x.png
2 --plot-from $tmp/huge --plot $tmp/x.png
2 --plot-from $tmp/one $tmp/other --plot $tmp/x.png
2 --plot-from $tmp/header --plot $tmp/x.png
2 --plot-from $tmp/p1 $tmp/q2 --plot $tmp/x.png
2 --plot-from $tmp/hand $tmp/p1 --plot $tmp/x.png
2 --plot-from $tmp/beyond --plot $tmp/x.png
64 --sweep w0=1:2 --points 1 --part 2/2
64 --sweep V0=1:2 --cycles 3
64 --sweep V0=1:2 --set h=0.001 --steps-per-period 50
64 --sweep V0=1:2 --time 1 --steps 100
64 --plot-from $tmp/one --points 3 --plot $tmp/x.png
64 --plot-from $tmp/one --time 1 --plot $tmp/x.png
EOF_TABLE
"$cli" --sweep V0=1:2 --points 2 --steps 100 --plot "$tmp/fifo.svg" >/dev/null 2>"$tmp/err"
check "a FIFO for the figure: a failure, not a wait" "74 not a regular file" "$? $(grep -o 'not a regular file' "$tmp/err")"
"$cli" --plot-from "$tmp/bom" --plot "$tmp/bom.png" >/dev/null 2>&1
check "a table saved with a byte-order mark and quotes" "0 PNG image data" "$? $(file -b "$tmp/bom.png" | cut -d, -f1)"

finish
