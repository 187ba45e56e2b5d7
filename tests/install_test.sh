#!/usr/bin/env bash
# The installed program as a desktop sees it, and the Debian package as apt
# and Debian's own checks see it.
#
#   install_test.sh install|package BUILD VERSION CMAKE|CPACK
set -u
mode=$1 build=$2 version=$3 tool=$4
fail=0 passed=0
check() {  # name, expected, actual
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
    fail=$((fail + 1)); printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"; fi
}
finish() { echo "$passed passed, $fail failed"; [ $fail -eq 0 ]; exit; }
key() { sed -n "s/^$2=//p" "$1" | head -1; }  # a key of the [Desktop Entry]
has() { [ -s "$1" ] && echo yes || echo "missing $1"; }
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
files=(bin/morvane1 bin/morvane1-cli share/morvane1/shema.gif share/applications/morvane1.desktop
  share/icons/hicolor/scalable/apps/morvane1.svg share/icons/hicolor/64x64/apps/morvane1.png
  share/metainfo/io.github.morvane1.metainfo.xml share/man/man1/morvane1.1.gz
  share/man/man1/morvane1-cli.1.gz share/doc/morvane1/copyright share/doc/morvane1/changelog.gz)

if [ "$mode" = install ]; then
  # A distribution stages the install with DESTDIR under the final prefix:
  # the launcher must name the final folder, where the window finds
  # shema.gif by its bare name.
  DESTDIR="$tmp" "$tool" --install "$build" --prefix /opt/m1 >"$tmp/log" 2>&1 || cat "$tmp/log"
  p="$tmp/opt/m1"
  for f in "${files[@]}"; do check "installed $f" yes "$(has "$p/$f")"; done
  entry="$p/share/applications/morvane1.desktop"
  check "launcher" "/opt/m1/share/morvane1 morvane1 morvane1 Science;Physics;" \
    "$(key "$entry" Path) $(key "$entry" Exec) $(key "$entry" Icon) $(key "$entry" Categories)"
  # A warning or a hint (two main categories list the entry twice) fails too.
  check "desktop-file-validate" "0 " "$(desktop-file-validate "$entry" 2>&1; echo "$? ")" 
  appstreamcli validate-tree --no-net "$p" >"$tmp/as" 2>&1
  check "appstreamcli validate-tree" "0" "$?" || cat "$tmp/as"
  meta="$p/share/metainfo/io.github.morvane1.metainfo.xml"
  check "metainfo and changelog name this version" "$version $version" \
    "$(grep -o '<release version="[^"]*"' "$meta" | head -1 | cut -d'"' -f2) $(gzip -dc "$p/share/doc/morvane1/changelog.gz" | sed -n '1s/^morvane1 (\([^)]*\)).*/\1/p')"
  check "no placeholder address" "" "$(grep -rl 'example\.' "$p/share" 2>/dev/null)"
  # Every option and exit status of the runner is in its manual page.
  man=$(gzip -dc "$p/share/man/man1/morvane1-cli.1.gz")
  for o in $("$p/bin/morvane1-cli" --help | grep -oE '^  --[a-z-]+'); do
    check "man page documents $o" yes "$(grep -q -- "^\.B[IR]\? ${o//-/\\\\-}" <<<"$man" && echo yes)"
  done
  for code in 0 1 2 3 4 64 74; do
    check "man page exit status $code" yes "$(sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' <<<"$man" | grep -qx "\.B $code" && echo yes)"
  done
  finish
fi

arch=$(dpkg --print-architecture)
deb="$tmp/morvane1_${version}_${arch}.deb"
(cd "$build" && "$tool" -G DEB -B "$tmp") >"$tmp/log" 2>&1 || cat "$tmp/log"
check "package" "morvane1 $version $arch science" \
  "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version) $(dpkg-deb -f "$deb" Architecture) $(dpkg-deb -f "$deb" Section)"
# Depends, as dpkg-shlibdeps found it, names Qt and is met by this machine.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libc6 libstdc++6 libqt6gui6 libqt6widgets6 libqt6svg6; do
  check "Depends names $p" yes "$(grep -q "\b$p\b" <<<"$depends" && echo yes)"
done
check "Depends met here" "" "$(dpkg-checkbuilddeps -d "$depends" /dev/null 2>&1)"
dpkg-deb -x "$deb" "$tmp/root"
for f in "${files[@]}"; do check "package holds /usr/$f" yes "$(has "$tmp/root/usr/$f")"; done
check "packaged runner prints what the build prints" "$("$build/cli/morvane1-cli" --preset 2 --cycles 10)" \
  "$("$tmp/root/usr/bin/morvane1-cli" --preset 2 --cycles 10)"
# Debian's own checks: no error, no warning, and all its hardening. A program
# that calls no fortifiable function is told so at the info level; the flags
# are set for every target, and the runner shows fortified calls.
out=$(lintian --display-info "$deb" 2>&1)
check "lintian" "" "$(grep -E '^[EW]: |hardening-' <<<"$out" | grep -v 'hardening-no-fortify-functions \[usr/bin/morvane1\]')"
check "fortified runner" yes "$(nm -D "$tmp/root/usr/bin/morvane1-cli" | grep -q '_chk@' && echo yes)"
finish
