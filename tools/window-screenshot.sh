#!/usr/bin/env bash
# Takes the README's screenshot of the real window under Xvfb: the sample
# data, the calculator keypad opened by a click on its button and an amount
# typed on it, the pointer resting on "Delete Current Time" (enlarged, with
# its hint). The picture is cropped to the window with a margin of desktop.
# Usage: tools/window-screenshot.sh BUILD_DIR [OUTPUT.png]   (default: docs/window.png)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: window-screenshot.sh BUILD_DIR [OUTPUT.png]}" && pwd)
out=${2:-$here/../docs/window.png}
for tool in xvfb-run xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "window-screenshot: $tool is missing (tools/install-deps.sh installs it)" >&2; exit 1; }
done
. "$here/window-lib.sh"

shot=$(mktemp --suffix=.png)
trap 'rm -f "$shot"' EXIT
run_window "$build" "$shot" '
  click() { xdotool mousemove $((left + $1)) $((top + $2)) click 1; sleep 0.2; }
  click 414 134                                 # the keypad toggle
  click 332 214; click 357 214; click 357 189   # 1 2 5
  xdotool mousemove $((left + 464)) $((top + 248))
  sleep 0.1
  xdotool mousemove $((left + 465)) $((top + 249))
  sleep 0.6
'

left=$(window_field "Absolute upper-left X")
top=$(window_field "Absolute upper-left Y")
[ -n "$left" ] || { echo "window-screenshot: no window appeared" >&2; echo "$WINDOW_LOG" >&2; exit 1; }
margin=12
mkdir -p "$(dirname "$out")"
# The black desktop around the window's shape becomes a light one.
convert "$shot" -crop "$((WINDOW_WIDTH + 2 * margin))x$((WINDOW_HEIGHT + 2 * margin))+$((left - margin))+$((top - margin))" +repage \
  -fill "#d9e2ea" -draw "color 0,0 floodfill" -strip "$out"
echo "$out"
