#!/usr/bin/env bash
# The README's examples as its runner section defines them, each run in a
# folder linking the repository and the build as build/release; a sweep spread
# in "--part {}/N" is also set against the sweep run at once.  SOURCE BUILD
set -u
src=$1 build=$2
source "$src/tests/check.sh"
# NUL-ended: each command, its exit status, a regular expression of its output.
examples() {
  perl -ne 'sub out { print join("\0", $c, $c =~ /#\s*exits\s+(\d+)\s*$/ ? $1 : 0, join "", map { $_ eq "..." ?
      "(?:.*\\n)*" : join(".*", map { quotemeta } split /\.\.\./, $_, -1) . "\\n" } @o), "\0" if defined $c; undef $c; @o = () }
    chomp; if (/^    \$ (.*)/) { out(); $c = $1 } elsif (defined $c && /^    (.*)/) { my $l = $1; $c =~ s/\\\z/\\\n$l/ or push @o, $l } else { out() }
    END { out() }' "$src/README.md"
}

n=0 spread=0
while IFS= read -r -d '' cmd && IFS= read -r -d '' status && IFS= read -r -d '' re; do
  n=$((n + 1)) dir="$tmp/$n"
  mkdir "$dir" && ln -s "$src"/* "$dir/" && rm -f "$dir/build" && mkdir "$dir/build" && ln -s "$build" "$dir/build/release"
  (cd "$dir" && bash -c "$cmd") </dev/null >"$tmp/out" 2>&1
  check "$cmd: exit status" "$status" "$?"
  [ -z "$re" ] || check "$cmd: what it prints" "" "$(re=$re perl -0777 -ne 'print unless /\A$ENV{re}\z/' "$tmp/out")"
  [[ $cmd =~ ([^ \'\"]*morvane1-cli[^\'\"]*)\ --part\ \{\}/ ]] || continue
  spread=$((spread + 1)) tables=($(awk 'FNR == 1 && /^# sweep / { print FILENAME }' $(find "$dir" -maxdepth 1 -type f)))
  (cd "$dir" && eval "${BASH_REMATCH[1]}") >"$tmp/whole"
  check "$cmd: the parts' columns, and rows in point order, the whole's" "$(grep -v '^#' "$tmp/whole")" \
    "$(grep -h '^point' "${tables[@]}" /dev/null | sort -u; grep -hv -e '^#' -e '^point' "${tables[@]}" /dev/null | sort -n)"
  check "$cmd: the parts name the whole's sweep" "$(head -1 "$tmp/whole" | sed 's/ part=.*//')" \
    "$(head -qn1 "${tables[@]}" | sed 's/ part=.*//' | sort -u)"
  check "$cmd: the merged count, the whole's" "$(tail -1 "$tmp/whole")" "$(tail -1 "$tmp/out")"
done < <(examples)
check "examples, a sweep spread in parts among them" "yes yes" "$([ $n -gt 1 ] && echo yes) $([ $spread -gt 0 ] && echo yes)"
finish
