#!/usr/bin/env bash
# The installed program as a desktop sees it, and the Debian package as apt
# would get it.
#
#   install_test.sh install BUILD VERSION GUI CMAKE
#   install_test.sh package BUILD VERSION GUI CPACK
#
# "install" installs the build into a scratch prefix (and once more through
# DESTDIR, the way distributions stage it) and checks the tree: every file,
# the launcher's Path= pointing at the folder that holds the scheme picture,
# the launcher and the AppStream record against their validators, the names
# they use against the files that carry them, and the manual page against
# the runner's --help. "package" makes the .deb and checks its name, its
# control fields, that Depends names the Qt 6 and C libraries in versions
# this machine has, that the runner unpacked from it works, and that lintian
# finds no error, no warning and no missing hardening in it.
set -u
mode="$1"
build="$2"
version="$3"
gui="$4"
tool="$5"

fail=0
passed=0
check() {  # name, expected, actual
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else
    fail=$((fail + 1)); printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"; fi
}
finish() {
  echo "$passed passed, $fail failed"
  [ $fail -eq 0 ]
  exit
}
need() {  # command, Debian package
  if ! command -v "$1" >/dev/null 2>&1; then
    echo "FAIL $1 is not installed: install the Debian package $2 (tools/deps.sh lists it)"
    fail=$((fail + 1))
    finish
  fi
}
# Value of a key in the [Desktop Entry] group.
desktop_key() { sed -n "s/^$2=//p" "$1" | head -1; }
# Width and height from a PNG's IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Files every install holds, relative to the prefix.
files=(
  bin/morvane1-cli
  share/morvane1/shema.gif
  share/applications/morvane1.desktop
  share/icons/hicolor/scalable/apps/morvane1.svg
  share/icons/hicolor/64x64/apps/morvane1.png
  share/metainfo/io.github.morvane1.metainfo.xml
  share/man/man1/morvane1-cli.1.gz
  share/doc/morvane1/copyright
  share/doc/morvane1/changelog.gz
)
[ "$gui" = 1 ] && files+=(bin/morvane1 share/man/man1/morvane1.1.gz)

if [ "$mode" = install ]; then
  need desktop-file-validate desktop-file-utils
  need appstreamcli appstream
  cmake="$tool"
  prefix="$tmp/prefix"
  if ! "$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log"
    check "cmake --install" "exit 0" "failed"
    finish
  fi

  for f in "${files[@]}"; do
    check "installed $f" "yes" "$([ -s "$prefix/$f" ] && echo yes || echo missing)"
  done
  for f in bin/morvane1-cli $([ "$gui" = 1 ] && echo bin/morvane1); do
    check "$f is executable" "yes" "$([ -x "$prefix/$f" ] && echo yes || echo no)"
  done
  check "64 px icon size" "64x64" "$(png_size "$prefix/share/icons/hicolor/64x64/apps/morvane1.png")"

  # The launcher: started from a menu, the window must find shema.gif in its
  # working directory, run the installed program and show the installed icon.
  entry="$prefix/share/applications/morvane1.desktop"
  path=$(desktop_key "$entry" Path)
  check "Path= is the installed data folder" "$prefix/share/morvane1" "$path"
  check "the picture is in Path=" "yes" "$([ -f "$path/shema.gif" ] && echo yes || echo no)"
  check "Exec=" "morvane1" "$(desktop_key "$entry" Exec)"
  check "Exec names an installed program" "yes" "$([ -e "$prefix/bin/$(desktop_key "$entry" Exec)" ] && echo yes || echo no)"
  check "Icon=" "morvane1" "$(desktop_key "$entry" Icon)"
  check "Categories=" "Science;Physics;" "$(desktop_key "$entry" Categories)"
  check "Name=" "Morvane1" "$(desktop_key "$entry" Name)"
  check "Russian comment" "yes" "$([ -n "$(desktop_key "$entry" 'Comment\[ru\]')" ] && echo yes || echo no)"

  # desktop-file-validate exits non-zero on errors only; a warning or a hint
  # (such as two main categories, listing the entry twice) fails here too.
  out=$(desktop-file-validate "$entry" 2>&1)
  rc=$?
  check "desktop-file-validate exit" "0" "$rc"
  check "desktop-file-validate says nothing" "" "$out"

  meta="$prefix/share/metainfo/io.github.morvane1.metainfo.xml"
  out=$(appstreamcli validate --no-net "$meta" 2>&1)
  rc=$?
  [ $rc -eq 0 ] || printf '%s\n' "$out"
  check "appstreamcli validate --no-net" "0" "$rc"
  out=$(appstreamcli validate-tree --no-net "$prefix" 2>&1)
  rc=$?
  [ $rc -eq 0 ] || printf '%s\n' "$out"
  check "appstreamcli validate-tree --no-net" "0" "$rc"
  # The record has to agree with what is installed next to it.
  check "metainfo launchable is the installed entry" "morvane1.desktop" \
    "$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$meta")"
  check "metainfo icon is the installed icon" "morvane1" \
    "$(sed -n 's:.*<icon type="stock">\(.*\)</icon>.*:\1:p' "$meta")"
  check "metainfo provides the installed programs" "morvane1 morvane1-cli" \
    "$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$meta" | sort | tr '\n' ' ' | sed 's/ $//')"
  check "metainfo latest release is the project version" "$version" \
    "$(grep -o '<release version="[^"]*"' "$meta" | head -1 | cut -d'"' -f2)"
  check "changelog latest entry is the project version" "$version" \
    "$(gzip -dc "$prefix/share/doc/morvane1/changelog.gz" | sed -n '1s/^morvane1 (\([^)]*\)).*/\1/p')"
  check "metainfo screenshot" "yes" "$(grep -q '<image[^>]*>https://[^<]*\.png</image>' "$meta" && echo yes || echo no)"

  # Every option the runner knows is in its manual page, under OPTIONS.
  man="$tmp/morvane1-cli.1"
  gzip -dc "$prefix/share/man/man1/morvane1-cli.1.gz" >"$man"
  opts=$("$prefix/bin/morvane1-cli" --help | grep -oE '^  --[a-z-]+' | tr -d ' ')
  check "runner lists its options" "yes" "$([ "$(wc -l <<<"$opts")" -ge 10 ] && echo yes || echo no)"
  manopts=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$man" | grep -E '^\.B[IR]? ' | grep -oE '\\-\\-[a-z\\-]+' | sed 's/\\//g' | sort -u)
  for o in $opts; do
    check "man page documents $o" "$o" "$(grep -x -- "$o" <<<"$manopts")"
  done
  for s in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES; do
    check "man page section $s" "yes" "$(grep -qx "\.SH \"\?$s\"\?" "$man" && echo yes || echo no)"
  done
  for code in 0 1 2 3 4 64 74; do
    check "man page exit status $code" "yes" "$(sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' "$man" | grep -qx "\.B $code" && echo yes || echo no)"
  done

  # Distributions stage an install with DESTDIR under the final prefix; the
  # launcher must then name the final folder, not the staging one.
  stage="$tmp/stage"
  DESTDIR="$stage" "$cmake" --install "$build" --prefix /opt/morvane1-test >"$tmp/destdir.log" 2>&1
  check "DESTDIR install" "0" "$?"
  check "Path= under DESTDIR" "/opt/morvane1-test/share/morvane1" \
    "$(desktop_key "$stage/opt/morvane1-test/share/applications/morvane1.desktop" Path)"
  check "picture under DESTDIR" "yes" "$([ -f "$stage/opt/morvane1-test/share/morvane1/shema.gif" ] && echo yes || echo no)"
  finish
fi

if [ "$mode" = package ]; then
  need dpkg-deb dpkg
  need dpkg-shlibdeps dpkg-dev
  need lintian lintian
  cpack="$tool"
  arch=$(dpkg --print-architecture)
  out="$tmp/out"
  # The package is written to a scratch folder; only CPack's own staging of
  # the install touches the build folder.
  if ! (cd "$build" && "$cpack" -G DEB -B "$out") >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    check "cpack -G DEB" "exit 0" "failed"
    finish
  fi
  deb="$out/morvane1_${version}_${arch}.deb"
  check "package file name" "morvane1_${version}_${arch}.deb" "$(cd "$out" && ls -- *.deb)"
  [ -f "$deb" ] || finish

  check "Package" "morvane1" "$(dpkg-deb -f "$deb" Package)"
  check "Version" "$version" "$(dpkg-deb -f "$deb" Version)"
  check "Architecture" "$arch" "$(dpkg-deb -f "$deb" Architecture)"
  check "Section" "science" "$(dpkg-deb -f "$deb" Section)"
  check "Maintainer set" "yes" "$([ -n "$(dpkg-deb -f "$deb" Maintainer)" ] && echo yes || echo no)"
  check "Description set" "yes" "$([ -n "$(dpkg-deb -f "$deb" Description)" ] && echo yes || echo no)"

  # Depends as dpkg-shlibdeps found it: one entry per package, "name (op version)".
  depends=$(dpkg-deb -f "$deb" Depends)
  names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | sort)
  required=(libc6 libstdc++6)
  [ "$gui" = 1 ] && required+=(libqt6core6 libqt6gui6 libqt6widgets6)
  for p in "${required[@]}"; do
    check "Depends names $p" "$p" "$(grep -x -- "$p" <<<"$names")"
  done
  # Every dependency is a package this machine has, in a version that
  # satisfies the constraint, so apt on the same release can meet it.
  while IFS= read -r dep; do
    dep=$(sed 's/^ *//; s/ *$//' <<<"$dep")
    [ -z "$dep" ] && continue
    name=${dep%% *}
    have=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null | head -1)
    if [[ "$dep" =~ \((.+)\ (.+)\) ]]; then
      op=${BASH_REMATCH[1]}
      want=${BASH_REMATCH[2]}
      case "$op" in '>=') op=ge ;; '<=') op=le ;; '>>') op=gt ;; '<<') op=lt ;; '=') op=eq ;; esac
      ok=$([ -n "$have" ] && dpkg --compare-versions "$have" "$op" "$want" && echo yes || echo "no: have '$have'")
    else
      ok=$([ -n "$have" ] && echo yes || echo "no: not installed")
    fi
    check "dependency $dep is met here" "yes" "$ok"
  done < <(tr ',' '\n' <<<"$depends")

  root="$tmp/root"
  dpkg-deb -x "$deb" "$root"
  check "dpkg-deb -x" "0" "$?"
  for f in "${files[@]}"; do
    check "package holds /usr/$f" "yes" "$([ -s "$root/usr/$f" ] && echo yes || echo missing)"
  done
  check "packaged launcher Path=" "/usr/share/morvane1" \
    "$(desktop_key "$root/usr/share/applications/morvane1.desktop" Path)"

  # The packaged runner: stripped, yet it prints what the build's runner prints.
  run=$("$root/usr/bin/morvane1-cli" --preset 2 --cycles 10)
  check "packaged morvane1-cli exit" "0" "$?"
  check "packaged morvane1-cli lines" "12" "$(wc -l <<<"$run" | tr -d ' ')"
  ref=$("$build/cli/morvane1-cli" --preset 2 --cycles 10)
  check "packaged morvane1-cli prints what the build prints" "$ref" "$run"

  # Debian's own checks. Informational tags may stay, except a missing
  # hardening flag, which lintian reports only at that level.
  out=$(lintian --display-info --fail-on error,warning "$deb" 2>&1)
  check "lintian exit" "0" "$?"
  check "lintian errors, warnings and hardening" "" "$(grep -E '^[EW]: |hardening-' <<<"$out")"
  finish
fi

echo "usage: install_test.sh install|package BUILD VERSION GUI CMAKE|CPACK" >&2
exit 64
