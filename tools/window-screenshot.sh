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
program="$build/app/zentaro"
[ -x "$program" ] || { echo "window-screenshot: $program not built" >&2; exit 1; }
for tool in xvfb-run xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "window-screenshot: $tool is missing (tools/install-deps.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$build/app/conversion data.kvx" "$work/"
shot="$work/root.png"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -eu
  "$1/zentaro" > "$1/zentaro.log" 2>&1 &
  pid=$!
  for _ in $(seq 50); do
    xwininfo -name Zentaro > "$1/window.txt" 2>/dev/null && break
    sleep 0.2
  done
  left=$(awk "/Absolute upper-left X/ {print \$4}" "$1/window.txt")
  top=$(awk "/Absolute upper-left Y/ {print \$4}" "$1/window.txt")
  sleep 0.5
  click() { xdotool mousemove $((left + $1)) $((top + $2)) click 1; sleep 0.2; }
  click 414 134                     # the keypad toggle
  click 332 214; click 357 214; click 357 189   # 1 2 5
  xdotool mousemove $((left + 464)) $((top + 248))
  sleep 0.1
  xdotool mousemove $((left + 465)) $((top + 249))
  sleep 0.6
  import -window root "$2"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
' _ "$work" "$shot"

grep -q "Absolute upper-left X" "$work/window.txt" || { echo "window-screenshot: no window appeared" >&2; cat "$work/zentaro.log" >&2; exit 1; }
left=$(awk '/Absolute upper-left X/ {print $4}' "$work/window.txt")
top=$(awk '/Absolute upper-left Y/ {print $4}' "$work/window.txt")
margin=12
mkdir -p "$(dirname "$out")"
# The black desktop around the window's shape becomes a light one.
convert "$shot" -crop "$((625 + 2 * margin))x$((297 + 2 * margin))+$((left - margin))+$((top - margin))" +repage \
  -fill "#d9e2ea" -draw "color 0,0 floodfill" -strip "$out"
echo "$out"
