#!/usr/bin/env bash
# Installs the build into a fresh temporary prefix, as `cmake --install` does for any user, and
# checks that every file lands there and nothing outside it.
# Usage: install.sh BUILD-DIR PREFIX
set -euo pipefail
build=$1
prefix=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

outside=$(grep -v "^$prefix/" "$build/install_manifest.txt" || true)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"

id=org.vellumo.Vellumo
expected=(
  bin/vellumo
  bin/vlp
  share/applications/$id.desktop
  share/applications/$id.Guide.desktop
  share/mime/packages/$id.xml
  share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/vellumo.1.gz
  share/doc/vellumo/copyright
  share/doc/vellumo/changelog.gz
  share/vellumo/guide/guide.vlp
  share/vellumo/guide/guide.ico
  share/vellumo/guide/welcome.html
)
for size in 16 32 48 64 128 256; do
  expected+=(share/icons/hicolor/${size}x$size/apps/$id.png)
done
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
# Each program has its manual page.
for program in "$prefix"/bin/*; do
  [ -f "$prefix/share/man/man1/$(basename "$program").1.gz" ] ||
    fail "no manual page for $(basename "$program")"
done
echo "ok"
