#!/usr/bin/env bash
# The vlp binary as editors, CI and authors call it: exit statuses, compiler-form lines,
# --json, --werror, --force, help and version.
#   vlp_cli.sh VLP SOURCE_DIR
set -uo pipefail
vlp=$1
src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/vlp-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

# expect STATUS PATTERN COMMAND...: the command exits with STATUS and its output (stdout and
# stderr) matches the extended regular expression PATTERN.
expect() {
  local status=$1 pattern=$2
  shift 2
  local out
  out=$("$@" 2>&1)
  local got=$?
  if [ "$got" -ne "$status" ] || ! grep -Eq -- "$pattern" <<<"$out"; then
    echo "FAILED: $* -> status $got (wanted $status), output:"
    echo "$out" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

cp -r "$src/examples/sample" "$work/sample"
expect 0 '^$' "$vlp" check "$work/sample"
expect 0 '^$' "$vlp" check "$work/sample/sample.vlp"

# One error: exit 1 and a compiler-form line, in JSON too.
size=$(( $(grep -n '^^' "$work/sample/sample.vlp" | head -n 1 | cut -d: -f1) + 7 )) # font size
sed -i "${size}s/.*/ten*\r/" "$work/sample/sample.vlp"
expect 1 "^$work/sample/sample.vlp:$size: error: 'ten' is not a valid integer value \(line $size\)$" \
  "$vlp" check "$work/sample/sample.vlp"
expect 1 '^\{"file":".*sample.vlp","line":'$size',"message":"'"'"'ten'"'"' is not a valid integer value \(line '$size'\)","severity":"error"\}$' \
  "$vlp" check --json "$work/sample"

# Warnings alone pass unless --werror.
cp -r "$src/examples/sample" "$work/warn"
echo '<p>stray</p>' >"$work/warn/stray.html"
expect 0 'warning: no Contents entry targets the page "stray.html"' "$vlp" check "$work/warn"
expect 1 'warning: no Contents entry targets the page "stray.html"' \
  "$vlp" check --werror "$work/warn"
expect 1 'missing or empty' "$vlp" check "$work/nothing.vlp"

# import writes a project once; --force overwrites it.
mkdir "$work/imp"
printf '<p>a</p>' >"$work/imp/a.html"
printf '<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A"><param name="Local" value="a.html"></OBJECT></UL>' >"$work/imp/toc.hhc"
expect 0 "wrote .*toc.vlp: 1 nodes, 0 keywords, home topic a.html" "$vlp" import "$work/imp/toc.hhc"
expect 1 'exists; use --force' "$vlp" import "$work/imp/toc.hhc"
expect 0 'wrote .*other.vlp' "$vlp" import "$work/imp/toc.hhc" -o "$work/imp/other.vlp"
# Away from its pages a project would open none of them: refused, and nothing written.
expect 2 "away.vlp is not in $work/imp: a project file has to stand beside its pages" \
  "$vlp" import "$work/imp/toc.hhc" -o "$work/away.vlp"
expect 2 'a project file has to stand beside its pages' "$vlp" new "$work/imp" -o "$work/away.vlp"
expect 1 'missing or empty' "$vlp" check "$work/away.vlp"
expect 0 'wrote' "$vlp" import --force "$work/imp/toc.hhc"
expect 1 'is no .hhp, .hhc or .qhp file' "$vlp" import "$work/imp/a.html"
rm "$work/imp/"*.vlp
expect 0 'wrote .*/imp/imp\.vlp: 1 nodes, 1 keywords' "$vlp" new "$work/imp/"
expect 0 '^$' "$vlp" check "$work/imp"

expect 0 'Commands:' "$vlp" --help
expect 0 '^vlp [0-9]' "$vlp" --version
expect 0 'werror' "$vlp" help check
expect 0 'force' "$vlp" help import
expect 0 '^Usage: vlp \[options\] import SOURCE$' "$vlp" help import
expect 0 '^Usage: vlp \[options\] check' "$vlp" check --help-all "$work/sample"
expect 0 'Commands:' "$vlp" --help-all
expect 2 'unknown command' "$vlp" frobnicate
expect 2 'Commands:' "$vlp"

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "all passed"
