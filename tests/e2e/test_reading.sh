#!/usr/bin/env bash
# The real binary and the reader's keys: Alt+Left after two Contents clicks shows the first page
# again; Ctrl+F and a word select that word in the page; the window at QT_SCALE_FACTOR=2 is
# kept as an artefact.
source "$(dirname "$0")/lib.sh" "$@"

# The page view's part of a screenshot of window $1, saved as $2.
page_shot() {
  import -window "$1" "$2.full.png"
  convert "$2.full.png" -crop 337x345+256+8 +repage "$2"
  rm -f "$2.full.png"
}
# Pixels that differ between two images.
differing() {
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

"$VELLUMO" "$SOURCE_DIR/examples/sample/" &
pid=$!
main=$(wait_window "Tidewater Notes Help") || fail "the sample's main window did not appear"
sleep 1

# Two Contents nodes: "Getting Started", then "Working with Notes".
click_in "$main" 90 92
sleep 1
page_shot "$main" "$ARTEFACTS/reading-first.png"
click_in "$main" 90 110
sleep 1
page_shot "$main" "$ARTEFACTS/reading-second.png"
[ "$(differing "$ARTEFACTS/reading-first.png" "$ARTEFACTS/reading-second.png")" -gt 1000 ] ||
  fail "the second click did not show another page"
keys "$main" alt+Left
page_shot "$main" "$ARTEFACTS/reading-back.png"
[ "$(differing "$ARTEFACTS/reading-first.png" "$ARTEFACTS/reading-back.png")" -eq 0 ] ||
  fail "Alt+Left did not show the first page again"

# Find a word: it is selected in the page. F6 twice takes the focus from the bar through the
# tabs to the page, whose selection Ctrl+C copies.
keys "$main" ctrl+f
xdotool type --delay 50 "notebooks"
sleep 1
import -window "$main" "$ARTEFACTS/reading-find.png"
keys "$main" F6 F6 ctrl+c
copied=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$copied" = "notebooks" ] || fail "the word found is not the page's selection (copied: '$copied')"
keys "$main" ctrl+q
wait_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "Ctrl+Q: exit status $EXIT_STATUS, expected 0"

# Twice the size at scale 2.
QT_SCALE_FACTOR=2 "$VELLUMO" "$SOURCE_DIR/examples/sample/" &
pid=$!
main=$(wait_window "Tidewater Notes Help") || fail "the main window did not appear at scale 2"
sleep 1.5
import -window "$main" "$ARTEFACTS/main-window-scale2.png"
size=$(identify -format %wx%h "$ARTEFACTS/main-window-scale2.png")
[ "$size" = "1208x730" ] || fail "at scale 2 the window is $size, expected 1208x730"
keys "$main" ctrl+q
wait_exit "$pid"
echo "ok"
