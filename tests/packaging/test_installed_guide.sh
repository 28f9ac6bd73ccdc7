#!/usr/bin/env bash
# The installed vellumo opens the installed guide under X: its caption, a filled Contents tree
# and the guide's first page, read back from the page itself; no icon error; Exit Help ends it
# with status 0.
# Usage: test_installed_guide.sh PREFIX/bin/vellumo SOURCE-DIR ARTEFACT-DIR
source "$(dirname "$0")/../e2e/lib.sh" "$@"
prefix=$(dirname "$(dirname "$VELLUMO")")

"$VELLUMO" "$prefix/share/vellumo/guide/" &
pid=$!
main=$(wait_window "Vellumo Guide") || fail "the guide's main window did not appear"
sleep 1
[ -z "$(xdotool search --onlyvisible --name '^Icon Error!$' 2>/dev/null || true)" ] ||
  fail "the guide's icon was not accepted"
shot=$ARTEFACTS/installed-guide.png
import -window "$main" "$shot"
# Colours in the Contents tree (captions and images) and in the page view (the home page's text).
tree=$(convert "$shot" -crop 225x250+12+70 -format %k info:)
page=$(convert "$shot" -crop 320x330+262+14 -format %k info:)
[ "$tree" -gt 10 ] || fail "the Contents tree looks empty ($tree colours)"
[ "$page" -gt 10 ] || fail "the page view looks empty ($page colours)"
# The page's text is the first page's, not the error page's nor another: F6 puts the focus in
# the page, whose whole text Ctrl+A and Ctrl+C copy.
keys "$main" F6 ctrl+a ctrl+c
text=$(xclip -o -selection clipboard 2>/dev/null || true)
[[ $text == "Welcome to Vellumo"$'\n'"Vellumo is a small help viewer."* ]] ||
  fail "the first page is not shown; the page reads: ${text:0:200}"
click_in "$main" 188 20
wait_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "Exit Help: exit status $EXIT_STATUS, expected 0"
echo "ok"
