#!/usr/bin/env bash
# The headless runner from the outside: output format, exit statuses and two
# golden rows. The golden rows fix the whole chain (inputs read from text,
# start set-up, 10 000 and 100 000 RK4 steps, readout conversion) digit for
# digit on this platform; a change in the order of any formula shows here
# first, with both rows printed.
set -u
cli="$1"
fail=0
passed=0
check() {  # name, expected, actual
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
    fail=$((fail + 1)); printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"; fi
}
status() { "$cli" "$@" >/dev/null 2>&1; echo $?; }

out=$("$cli" --preset 1 --cycles 3)
check "header line" "# J0=1.25 CR=400 Fmrv=-1.44637229800966E-12 E0=1650" "$(sed -n 1p <<<"$out")"
check "column names" "T	w0	X0	Y0	Ymrv	E	FR1	FR2	R1	R2	FT1	FT2	fi1	fi2	VX1	VX2	VY1	VY2	FX1	FX2	FY1	FY2	FX0	FY0" "$(sed -n 2p <<<"$out")"
check "one row per cycle" "5" "$(wc -l <<<"$out" | tr -d ' ')"
check "24 columns" "24" "$(sed -n 3p <<<"$out" | awk -F'\t' '{print NF}')"
check "T of the third cycle" "0.0003" "$(sed -n 5p <<<"$out" | cut -f1)"
check "invariant columns" "29" "$("$cli" --invariants | sed -n 3p | awk -F'\t' '{print NF}')"
check "comma output" "0,0001" "$("$cli" --decimal-comma | sed -n 3p | cut -f1)"
check "final only" "3" "$("$cli" --cycles 50 --final-only | wc -l | tr -d ' ')"
check "T after 69 steps" "0,00690000000000001" "$("$cli" --decimal-comma --cycles 69 --final-only | sed -n 3p | cut -f1)"
check "preset 2 header" "# J0=1.25 CR=40000000000 Fmrv=-14463.7229800966 E0=165000000000" "$("$cli" --preset 2 | sed -n 1p)"
check "twist start energy" "# J0=1.25 CR=400 Fmrv=-1.44637229800966E-12 E0=1650.4" "$("$cli" --twist 0.2 | sed -n 1p)"
check "golden preset 1, 10 000 cycles" "0,999999999999906	20,000000000003	9,99999999999946	2,27538571320229E-15	-6,02655124170578E-14	1650,0000000001	399,999999999148	399,999999999254	0,999999999999857	1,00000000000015	6,63730181928203E-09	6,64259758310757E-09	65,9155902615099	245,915590261476	-8,25890501453907	28,2589050145227	8,16164123631577	-8,16164123631673	-163,23282497539	163,232824975656	-365,178100178354	365,178100178352	-2,65856670011999E-10	2,67164068645798E-12" "$("$cli" --decimal-comma --cycles 10000 --final-only | sed -n 3p)"
check "golden preset 2, 1 000 cycles" "0.000100000000000137	200000	9.99999999998761	3.17615543941407E-15	-6.0265512417234E-06	165000000000.025	39999999999.9762	40000000000.0251	0.999999999999392	1.00000000000065	-2.05855332780072E-11	-1.77637470066712E-06	65.9155902617232	245.915590261567	-82589.0501456214	282589.050145434	81616.412362677	-81616.4123626815	-16323282472.5014	16323282472.6209	-36517810029.0944	36517810029.0946	-0.119438171386719	-0.0001678466796875" "$("$cli" --preset 2 --cycles 1000 --final-only | sed -n 3p)"

check "help" "0" "$(status --help)"
check "refused value" "2" "$(status --set h=abc)"
check "refused comma without --decimal-comma" "2" "$(status --set R0=0,5)"
check "refused twist" "2" "$(status --twist nan)"
check "NC0 beyond 32 bits" "2" "$(status --set NC0=3000000000)"
check "start set-up overflow" "2" "$(status --set m0=1e300 --set R0=1e10)"
check "zero mass fails the run" "3" "$(status --set m0=0)"
check "zero ML fails the view" "3" "$(status --set ML=0)"
check "zero MF fails the plot" "3" "$(status --set MF=0)"
check "unknown option" "64" "$(status --frobnicate)"
check "bad preset" "64" "$(status --preset 3)"
check "bad cycles" "64" "$(status --cycles 0)"
check "unknown input name" "64" "$(status --set mass=3)"
err=$("$cli" --set h=abc 2>&1 >/dev/null)
check "refusal names the option" "Введите правильно данные: --set h \"abc\"" "$err"
err=$("$cli" --set ML=0 --cycles 5 2>&1 >/dev/null)
check "run error message" "Ошибка решения уравнений
T=0.0001" "$err"
plot=$("$cli" --set MF=0 2>&1 >/dev/null | head -1)
check "plot error message" "                Несовместимость параметров" "$(tr -d '\r' <<<"$plot")"
rows=$("$cli" --set ML=0 --cycles 5 2>/dev/null | wc -l | tr -d ' ')
check "header kept after a run error" "2" "$rows"

# Verification: the verdict's exit statuses, the time rounded to whole
# steps, too short a time refused, and the picture of the answer drawn with
# no display.
verdict() { "$cli" --verify "$@" 2>/dev/null | tail -1 | cut -d: -f1; }
check "preset 2: no lateral force" "no lateral force 0" "$(verdict --preset 2) $(status --verify --preset 2)"
check "claim below the limit: inconclusive" "inconclusive 4" \
  "$(verdict --set KR=0 --set KT=0 --set h=0.002 --time 1) $(status --verify --set KR=0 --set KT=0 --set h=0.002 --time 1)"
check "the claim injected acts" "a lateral force acts 1" \
  "$(verdict --set KR=0 --set KT=0 --set h=0.002 --time 1 --inject-lateral-force -1.4463722980096582e-12) $(status --verify --set KR=0 --set KT=0 --set h=0.002 --time 1 --inject-lateral-force -1.4463722980096582e-12)"
check "twist through the wrap: inconclusive" "inconclusive 4" \
  "$(verdict --twist 0.95 --set KR=0 --set KT=0 --time 1 --set h=0.0005) $(status --verify --twist 0.95 --set KR=0 --set KT=0 --time 1 --set h=0.0005)"
check "zero steps refused" "2" "$(status --verify --preset 2 --time 4e-10 --inject-lateral-force 1000000)"
check "hours of steps refused" "2" "$(status --verify --preset 2 --time 1)"
rep=$("$cli" --verify --set KR=0 --set KT=0 --set h=0.002 --time 1.0031)
check "time rounded to whole steps" "time	1.004	1.0031" "$(grep -P '^time\t' <<<"$rep" | cut -f1-3)"
check "three runs of n, 2n, 4n steps" "502" "$(awk -F'\t' '$1 == "steps" { print $2 }' <<<"$rep")"
csv=$("$cli" --verify --preset 2 --format csv 2>/dev/null)
check "csv header" "item,value,reference,meaning" "$(sed -n 1p <<<"$csv")"
check "csv has no tabs and four fields a row" "0" "$(awk -F, 'NF != 4 || /\t/' <<<"$csv" | wc -l | tr -d ' ')"
check "csv run rows" "T,w0,X0" "$("$cli" --format csv --decimal-comma | sed -n 1p | cut -d, -f1-3)"
check "csv run uses decimal points" "0.0001" "$("$cli" --format csv --decimal-comma | sed -n 2p | cut -d, -f1)"
check "time without verify" "64" "$(status --time 1)"
check "plot needs .png or .svg" "64" "$(status --verify --plot answer.pdf)"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$cli" --verify --preset 2 --time 1e-5 --plot "$tmp/a.png" >/dev/null 2>&1
check "png plot without a display" "0 PNG image data, 960 x 640" "$? $(file -b "$tmp/a.png" | cut -d, -f1-2)"
"$cli" --verify --time 0.01 --plot "$tmp/a.SVG" >/dev/null 2>&1
check "svg plot" "4 <svg" "$? $(grep -o '<svg' "$tmp/a.SVG" | head -1)"

# Output that cannot be written is a failure of its own, never a silent loss.
for args in "--cycles 1000" "--cycles 1000 --format csv" "--verify" "--help"; do
  # shellcheck disable=SC2086
  "$cli" $args >/dev/full 2>"$tmp/err"
  check "$args to a full disk" "74 yes" "$? $(grep -q 'could not be written' "$tmp/err" && echo yes)"
done
check "picture to an unwritable place" "74" "$(status --verify --time 0.01 --plot /proc/answer.png)"
long=$(printf '1%.0s' $(seq 600))
err=$("$cli" --set "h=$long" 2>&1 >/dev/null)
check "a long refused value is quoted a line long" "yes" "$([ ${#err} -lt 200 ] && grep -q '600 characters; a number may have at most 500' <<<"$err" && echo yes || echo "no: ${#err}")"

start=$(date +%s%N)
"$cli" --verify --preset 2 --time 1e-4 >/dev/null
ms=$(( ($(date +%s%N) - start) / 1000000 ))
check "preset 2 verify of 1E-04 s under 3 s" "yes" "$( [ $ms -lt 3000 ] && echo yes || echo "no: $ms ms")"

echo "$passed passed, $fail failed"
[ $fail -eq 0 ]
