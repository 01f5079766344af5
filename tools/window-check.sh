#!/usr/bin/env bash
# Starts the real window under Xvfb with the sample data file and uses it as
# a user would: 250 EUR in ZAR at the newest upload time, then the older
# upload time 2013-01-28 typed into its list, reading the result field
# through the X primary selection each time; then opens the question of
# "Delete All Data" and answers No. Then takes a screenshot and checks that
# the shaped window is there: visible where the background picture is,
# see-through where it is white and in the strips beside it. Last, in a second
# run, opens the History window of EUR in USD with its button, rests the
# pointer on the plot and takes a screenshot of it.
# Usage: tools/window-check.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: window-check.sh BUILD_DIR}" && pwd)
. "$(dirname "$0")/window-lib.sh"
shot="$build/window-check.png"
rm -f "$shot"
for tool in xvfb-run xdotool xclip xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "window-check: $tool is missing (tools/install-deps.sh installs it)" >&2; exit 1; }
done
run_window "$build" "$shot" '
  click() { xdotool mousemove $((left + $1)) $((top + $2)) click 1; sleep 0.3; }
  retype() { click "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 40 "$3"; sleep 0.3; }
  result() { # selecting the read-only result field puts its text in the primary selection
    printf "" | xclip -i -selection primary -loops 1 # an empty field must not read as the last selection
    click 340 166; xdotool key ctrl+a; sleep 0.3
    xclip -o -selection primary 2>/dev/null
  }
  windows() { xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr "\n" "|"; }
  retype 470 134 EUR
  retype 470 166 ZAR
  click 340 134; xdotool type --delay 40 250; sleep 0.3
  echo "newest=$(result)" >> "$notes"
  retype 400 96 2013-01-28; xdotool key Return; sleep 0.5
  echo "older=$(result)" >> "$notes"
  click 411 249; sleep 0.8
  echo "question=|$(windows)" >> "$notes"
  xdotool key Escape; sleep 0.5
  echo "answered=|$(windows)" >> "$notes"
'

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

note_of() { awk -F= -v key="$2" '$1 == key { print substr($0, length(key) + 2) }' <<< "$1"; }
note() { note_of "$WINDOW_NOTES" "$1"; }
failures=0
# 250 EUR in ZAR with the sample rates: 17.1922 on 2022-07-08, 12.0906 on 2013-01-28.
[ "$(note newest)" = 4298.05 ] || { echo "window-check: 250 EUR in ZAR shows \"$(note newest)\", not 4298.05" >&2; failures=$((failures + 1)); }
[ "$(note older)" = 3022.65 ] || { echo "window-check: at 2013-01-28 it shows \"$(note older)\", not 3022.65" >&2; failures=$((failures + 1)); }
case "$(note question)" in
  *"|Confirm|"*) ;;
  *) echo "window-check: no window titled \"Confirm\" asked the question (windows: $(note question))" >&2; failures=$((failures + 1)) ;;
esac
case "$(note answered)" in
  *"|Confirm"*) echo "window-check: the question stayed open after Escape" >&2; failures=$((failures + 1)) ;;
esac

pixel() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
root=$(pixel 2 2)
expect() { # expect see-through|visible X Y what
  local got
  got=$(pixel $((left + $2)) $((top + $3)))
  if { [ "$1" = see-through ] && [ "$got" != "$root" ]; } || { [ "$1" = visible ] && [ "$got" = "$root" ]; }; then
    echo "window-check: $4 at ($2,$3) should be $1, has $got (desktop $root)" >&2
    failures=$((failures + 1))
  fi
}
[ "$width" = "$WINDOW_WIDTH" ] && [ "$height" = "$WINDOW_HEIGHT" ] ||
  { echo "window-check: client area is ${width}x$height, not ${WINDOW_WIDTH}x$WINDOW_HEIGHT" >&2; failures=$((failures + 1)); }
while read -r kind x y what; do
  expect "$kind" "$x" "$y" "$what"
done <<< "$SHAPE_POINTS"

history_shot="$build/window-check-history.png"
rm -f "$history_shot"
run_window "$build" "$history_shot" '
  click() { xdotool mousemove $((left + $1)) $((top + $2)) click 1; sleep 0.3; }
  retype() { click "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 40 "$3"; sleep 0.3; }
  retype 470 134 EUR
  retype 470 166 USD
  click 355 249; sleep 1
  history=$(xdotool search --onlyvisible --name "^EUR in USD - Zentaro\$" 2>/dev/null | head -1)
  echo "history=$history" >> "$notes"
  if [ -n "$history" ]; then
    xdotool windowmove "$history" 0 0 windowsize "$history" 760 460; sleep 0.5
    xdotool mousemove 400 200; sleep 0.2; xdotool mousemove 402 201; sleep 0.5
  fi
'
if [ -z "$(note_of "$WINDOW_NOTES" history)" ]; then
  echo "window-check: the History button opened no window titled \"EUR in USD - Zentaro\"" >&2
  failures=$((failures + 1))
else
  echo "History window screenshot $history_shot"
fi

[ "$failures" -eq 0 ] || exit 1
echo "window-check: the shaped window is on screen, converts at the chosen upload time and opens a pair's history"
