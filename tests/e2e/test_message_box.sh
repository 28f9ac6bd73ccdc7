#!/usr/bin/env bash
# The real binary: a message box leaves the main window usable. While "Bottom of History List."
# is up, a click on the Contents tree shows that node's page; Exit Help while a box is up ends
# the program with status 0.
source "$(dirname "$0")/lib.sh" "$@"

# A picture of the page view (right half of the main window) for comparison.
page_signature() {
  import -window "$1" "$ARTEFACTS/message-box-page.png"
  convert "$ARTEFACTS/message-box-page.png" -crop 330x340+260+10 +repage -format %# info:
}

"$VELLUMO" "$SOURCE_DIR/examples/sample/" &
pid=$!
main=$(wait_window "Tidewater Notes Help") || fail "the sample's main window did not appear"
sleep 1

# Go Back with no history before the home page: the box comes up and stays up.
click_in "$main" 108 20
box=$(wait_window "History List!") || fail "no History List! message box"
sleep 0.5
home=$(page_signature "$main")
# The home node again: the same page, the same picture.
click_in "$main" 60 74
sleep 1
[ "$(page_signature "$main")" = "$home" ] || fail "the page view changed without a new page"
# The second Contents node, "Getting Started", below the home node.
click_in "$main" 60 93
sleep 1
[ "$(page_signature "$main")" != "$home" ] || fail "the tree click did not show its page while the box was up"
xdotool search --onlyvisible --name "^History List!\$" >/dev/null || fail "the box went away"
import -window root "$ARTEFACTS/message-box-up.png"
press_return "$box"
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name "^History List!\$" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "^History List!\$" >/dev/null 2>&1 && fail "Return did not dismiss the box"

# Go Forward on the last history entry, then Exit Help while its box is up.
click_in "$main" 148 20
wait_window "History List!" >/dev/null || fail "no End of History List. box"
click_in "$main" 188 20
wait_exit "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "Exit Help with a box up: exit status $EXIT_STATUS, expected 0"
echo "ok"
