#!/usr/bin/env bash
# The installed desktop entries, AppStream metainfo, MIME package and icons are valid and agree
# with each other. Usage: test_metadata.sh PREFIX
set -euo pipefail
prefix=$1
id=org.vellumo.Vellumo
share=$prefix/share
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$share/applications/$id.desktop" "$share/applications/$id.Guide.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
xmllint --noout "$share/mime/packages/$id.xml"

# The file opener takes the file and the project type; the menu entry opens the installed guide.
opener=$share/applications/$id.desktop
grep -qx 'Exec=vellumo %f' "$opener" || fail "the .vlp entry does not run vellumo %f"
grep -qx 'NoDisplay=true' "$opener" || fail "the .vlp entry shows in the menu"
grep -qx 'MimeType=application/x-vellumo-project;' "$opener" || fail "the .vlp entry has no type"
# Quoted, so that a prefix with a space in it still names one folder.
guide=$(sed -n 's/^Exec=vellumo "\(.*\)"$/\1/p' "$share/applications/$id.Guide.desktop")
[ "$guide" = "$share/vellumo/guide/" ] || fail "the guide entry opens '$guide'"
[ -f "$guide/guide.vlp" ] || fail "no guide where the menu entry points"
grep -q "<launchable type=\"desktop-id\">$id.Guide.desktop</launchable>" \
  "$share/metainfo/$id.metainfo.xml" || fail "the metainfo does not launch the guide entry"

# shared-mime-info itself maps *.vlp to the type.
mime=$(mktemp -d)
trap 'rm -rf "$mime"' EXIT
mkdir "$mime/packages"
cp "$share/mime/packages/$id.xml" "$mime/packages/"
update-mime-database "$mime"
grep -q ':application/x-vellumo-project:\*\.vlp' "$mime/globs2" || fail "*.vlp is not mapped"

# Every icon size is a PNG of that size.
for size in 16 32 48 64 128 256; do
  file "$share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
    fail "the $size pixel icon is not a $size x $size PNG"
done
echo "ok"
