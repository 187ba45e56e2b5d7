#!/usr/bin/env bash
# The installed program as a desktop sees it, and the Debian package as apt
# and Debian's own checks see it, installed and removed again.
#
#   install_test.sh install|package BUILD VERSION CMAKE|CPACK
set -u
mode=$1 build=$2 version=$3 tool=$4
source "$(dirname "$0")/check.sh"
key() { sed -n "s/^$2=//p" "$1" | head -1; }  # a key of the [Desktop Entry]
has() { [ -s "$1" ] && echo yes || echo "missing $1"; }
tag() { grep -o "<$1>[^<]*" "$meta" | cut -d'>' -f2; }  # an element of the AppStream record
src=$(realpath "$(dirname "$0")/..")
id=io.github.morvane1.morvane1
files=(bin/morvane1 bin/morvane1-cli share/morvane1/shema.gif share/applications/$id.desktop
  share/icons/hicolor/scalable/apps/morvane1.svg share/icons/hicolor/64x64/apps/morvane1.png
  share/metainfo/$id.metainfo.xml share/man/man1/morvane1.1.gz
  share/man/man1/morvane1-cli.1.gz share/doc/morvane1/copyright share/doc/morvane1/changelog.gz)

# From /tmp, "схема" pressed: the scheme pixel for pixel at Picture1 (7440, 0 twips), the icon, the WM_CLASS.
shows_scheme() {  # program
  (cd /tmp && QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1" 2>/dev/null & app=$!
    trap "kill $app" EXIT
    win=$(timeout 20 xdotool search --sync --onlyvisible --name "^Morvane1( |$)" | head -1)
    [ -n "$win" ] || exit 1
    # Button::Scheme at 6360, 8040 twips, 765 x 300, in ui/form1_controls.cpp.
    xdotool mousemove --window "$win" $(((6360 + 765 / 2) / 15)) $(((8040 + 300 / 2) / 15)) click 1
    for _ in $(seq 100); do
      import -window "$win" "$2" 2>/dev/null &&
        [ "$(compare -metric AE "$2[288x288+496+0]" "$3" null: 2>&1)" = 0 ] && break
      sleep 0.1
    done
    echo "$(compare -metric AE "$2[288x288+496+0]" "$3" null: 2>&1) pixels differ," \
      "$(xdotool search --onlyvisible --name "^Morvane1( |$)" | wc -l) window(s)," \
      "$(xprop -id "$win" _NET_WM_ICON | grep -o "Icon ([0-9]* x [0-9]*)" | head -1)," \
      "class $(xprop -id "$win" WM_CLASS | cut -d\" -f4)"
  ' _ "$1" "$tmp/shot.png" "$src/assets/shema.gif")
}

if [ "$mode" = install ]; then
  # A distribution stages the install with DESTDIR under the final prefix.
  DESTDIR="$tmp" "$tool" --install "$build" --prefix /opt/m1 >"$tmp/log" 2>&1 || cat "$tmp/log"
  p="$tmp/opt/m1"
  for f in "${files[@]}"; do check "installed $f" yes "$(has "$p/$f")"; done
  entry="$p/share/applications/$id.desktop"
  # No Path=: the window finds the scheme picture from wherever it starts.
  check "launcher" " morvane1 morvane1 Science;Physics;" \
    "$(key "$entry" Path) $(key "$entry" Exec) $(key "$entry" Icon) $(key "$entry" Categories)"
  # A warning or a hint (two main categories list the entry twice) fails too.
  check "desktop-file-validate" "0 " "$(desktop-file-validate "$entry" 2>&1; echo "$? ")"
  appstreamcli validate-tree --no-net "$p" >"$tmp/as" 2>&1
  check "appstreamcli validate-tree" "0" "$?" || cat "$tmp/as"
  # Installed under another prefix, the window still finds its picture.
  check "/opt/m1/bin/morvane1 from /tmp: the scheme, the icon, the launcher's class" \
    "0 pixels differ, 1 window(s), Icon (64 x 64), class $(key "$entry" StartupWMClass)" "$(shows_scheme "$p/bin/morvane1")"
  meta="$p/share/metainfo/$id.metainfo.xml"
  # Not even a pedantic note.
  check "appstreamcli validate" "✔ Validation was successful." "$(appstreamcli validate --no-net --pedantic "$meta" 2>&1)"
  check "one id for the component and the launcher" "$id $id.desktop" \
    "$(tag id) $(grep -o '<launchable type="desktop-id">[^<]*' "$meta" | cut -d'>' -f2)"
  # A free licence, stated alike in every place that states it.
  dep5=$(sed -n '/^Files: \*$/,/^$/s/^License: //p' "$p/share/doc/morvane1/copyright")
  check "licence" "GPL-3.0-or-later CC0-1.0 GPL-3+ COPYING README" "$(tag project_license) $(tag metadata_license) $dep5\
 $(cmp -s "$src/COPYING" /usr/share/common-licenses/GPL-3 && echo COPYING) $(grep -q GPL-3.0-or-later "$src/README.md" && echo README)"
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
# lintian: no error, warning or hardening tag (the window calls nothing fortifiable; the runner shows it).
out=$(lintian --display-info "$deb" 2>&1)
check "lintian" "" "$(grep -E '^[EW]: |hardening-' <<<"$out" | grep -v 'hardening-no-fortify-functions \[usr/bin/morvane1\]')"
check "fortified runner" yes "$(nm -D "$tmp/root/usr/bin/morvane1-cli" | grep -q '_chk@' && echo yes)"

# Installed by dpkg, then purged: the scheme shows, and nothing of the package is left.
if [ "$(id -u)" != 0 ] || dpkg-query -W -f='${Status}' morvane1 2>/dev/null | grep -q 'ok installed'; then
  check "installing the package" "root, with no morvane1 installed" "$(id -un), $(dpkg-query -W -f='${Status}' morvane1 2>&1)"
  finish
fi
dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | grep -v '/$' >"$tmp/owned"
dpkg -i "$deb" >"$tmp/log" 2>&1 || cat "$tmp/log"
check "installed by dpkg" "install ok installed" "$(dpkg-query -W -f='${Status}' morvane1 2>&1)"
check "cd /tmp && morvane1: the scheme, the icon, the launcher's class" "0 pixels differ, 1 window(s), Icon (64 x 64),\
 class $(key /usr/share/applications/$id.desktop StartupWMClass)" "$(shows_scheme /usr/bin/morvane1)"
dpkg --purge morvane1 >"$tmp/log" 2>&1 || cat "$tmp/log"
check "nothing left of the package" "" \
  "$(dpkg-query -W morvane1 2>/dev/null; while read -r f; do [ -e "$f" ] || [ -L "$f" ] && echo "$f"; done <"$tmp/owned"; ls -d /usr/share/morvane1 /usr/share/doc/morvane1 2>/dev/null)"
finish
