#!/usr/bin/env bash
# Every installed manual page renders without a single warning. Usage: test_man_pages.sh PREFIX
set -euo pipefail
prefix=$1
pages=("$prefix"/share/man/man1/*.1.gz)
[ -f "${pages[0]}" ] || { echo "FAIL: no manual pages installed" >&2; exit 1; }
for page in "${pages[@]}"; do
  warnings=$(zcat "$page" | groff -man -ww -z 2>&1)
  [ -z "$warnings" ] || { echo "FAIL: $(basename "$page"): $warnings" >&2; exit 1; }
done
echo "ok"
