#!/usr/bin/env bash
# The installed author's tool finds nothing to report in the installed guide, warnings included.
# Usage: test_guide_check.sh PREFIX
set -euo pipefail
prefix=$1
report=$("$prefix/bin/vlp" check --werror "$prefix/share/vellumo/guide/") ||
  { echo "FAIL: vlp check failed on the guide: $report" >&2; exit 1; }
[ -z "$report" ] || { echo "FAIL: vlp check reports: $report" >&2; exit 1; }
echo "ok"
