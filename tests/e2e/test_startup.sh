#!/usr/bin/env bash
# The real binary: a missing project ends with "Help Error" and status 1; the sample project
# opens with its title as caption, in a window the size of the metainfo's screenshot; Exit Help
# ends with status 0.
source "$(dirname "$0")/lib.sh" "$@"

empty=$(mktemp -d)
"$VELLUMO" "$empty" &
pid=$!
box=$(wait_window "Help Error") || fail "no Help Error message box"
press_return "$box"
wait_exit "$pid"
[ "$EXIT_STATUS" -eq 1 ] || fail "missing project: exit status $EXIT_STATUS, expected 1"
rmdir "$empty"

"$VELLUMO" "$SOURCE_DIR/examples/sample/" &
pid=$!
main=$(wait_window "Tidewater Notes Help") || fail "the sample's main window did not appear"
sleep 1
import -window "$main" "$ARTEFACTS/main-window.png"
# The home page is shown: the window is not a blank page view.
colours=$(convert "$ARTEFACTS/main-window.png" -format %k info:)
[ "$colours" -gt 20 ] || fail "the main window looks empty ($colours colours)"
# The metainfo's screenshot is this capture, copied by `make screenshot`: the window's size, as
# the metainfo declares it.
[ -z "${UPDATE_SCREENSHOT:-}" ] || cp "$ARTEFACTS/main-window.png" "$SOURCE_DIR/packaging/screenshot.png"
size=$(identify -format %wx%h "$ARTEFACTS/main-window.png")
kept=$(identify -format %wx%h "$SOURCE_DIR/packaging/screenshot.png")
[ "$kept" = "$size" ] || fail "packaging/screenshot.png is $kept, the window $size: make screenshot"
grep -q "<image type=\"source\" width=\"${size%x*}\" height=\"${size#*x}\">" \
  "$SOURCE_DIR/packaging/org.vellumo.Vellumo.metainfo.xml" ||
  fail "the metainfo's screenshot is not declared $size"
# Exit Help, the fifth toolbar button.
click_in "$main" 188 20
wait_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "Exit Help: exit status $EXIT_STATUS, expected 0"
echo "ok"
