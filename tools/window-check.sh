#!/usr/bin/env bash
# Starts the real window under Xvfb with the sample data file, takes a
# screenshot and checks that the shaped window is there: visible where the
# background picture is, see-through where it is white and in the strips
# beside it. Usage: tools/window-check.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: window-check.sh BUILD_DIR}" && pwd)
. "$(dirname "$0")/window-lib.sh"
shot="$build/window-check.png"
rm -f "$shot"
run_window "$build" "$shot"

if [ -z "$(window_field "Absolute upper-left X")" ]; then
  echo "window-check: no window named Zentaro appeared" >&2
  echo "$WINDOW_LOG" >&2
  exit 1
fi
left=$(window_field "Absolute upper-left X")
top=$(window_field "Absolute upper-left Y")
width=$(window_field "Width")
height=$(window_field "Height")
echo "window at $left,$top size ${width}x$height; screenshot $shot"

pixel() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
root=$(pixel 2 2)
failures=0
expect() { # expect see-through|visible X Y what
  local got
  got=$(pixel $((left + $2)) $((top + $3)))
  if { [ "$1" = see-through ] && [ "$got" != "$root" ]; } || { [ "$1" = visible ] && [ "$got" = "$root" ]; }; then
    echo "window-check: $4 at ($2,$3) should be $1, has $got (desktop $root)" >&2
    failures=$((failures + 1))
  fi
}
[ "$width" = 625 ] && [ "$height" = 297 ] || { echo "window-check: client area is ${width}x$height, not 625x297" >&2; failures=$((failures + 1)); }
expect visible 290 134 "the amount field"
expect visible 340 96 "the upload-time list"
expect visible 100 150 "the decorative picture"
expect see-through 621 150 "the strip right of the background"
expect see-through 300 294 "the strip below the background"
expect see-through 1 1 "the white corner of the background"
[ "$failures" -eq 0 ] || exit 1
echo "window-check: the shaped window is on screen"
