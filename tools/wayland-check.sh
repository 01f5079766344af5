#!/usr/bin/env bash
# Starts the built window natively on Wayland, under a headless weston, and
# checks that it opens: the compositor configures its top-level surface, the
# window acknowledges and draws into it, and it sends its shape as its input
# region (controls and picture in, see-through parts out) over a buffer with
# an alpha channel. Leaves a screenshot of the compositor's output in
# BUILD_DIR/wayland-check.png.
# Usage: tools/wayland-check.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: wayland-check.sh BUILD_DIR}" && pwd)
. "$(dirname "$0")/window-lib.sh"
for tool in weston weston-screenshooter; do
  command -v "$tool" >/dev/null || { echo "wayland-check: $tool is missing (tools/install-deps.sh test installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
chmod 700 "$work"
weston_pid=
window_pid=
finish() {
  [ -z "$window_pid" ] || kill "$window_pid" 2>/dev/null || true
  [ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

program_folder "$build" "$work/program"

export XDG_RUNTIME_DIR="$work"
socket=wayland-zentaro-check
# Pixman renders into memory, so that the screenshot can read the output back;
# --debug lets weston-screenshooter ask for it.
weston --backend=headless-backend.so --use-pixman --width=800 --height=450 --idle-time=0 \
  --socket="$socket" --debug > "$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 50); do
  [ -S "$work/$socket" ] && break
  sleep 0.1
done
[ -S "$work/$socket" ] || { echo "wayland-check: weston did not start" >&2; cat "$work/weston.log" >&2; exit 1; }

WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
  "$work/program/zentaro" > "$work/window.log" 2>&1 &
window_pid=$!

opened=no
for _ in $(seq 100); do
  if grep -q 'xdg_surface@[0-9]*\.ack_configure' "$work/window.log" &&
     grep -q 'wl_surface@[0-9]*\.attach(wl_buffer' "$work/window.log"; then
    opened=yes
    break
  fi
  kill -0 "$window_pid" 2>/dev/null || break
  sleep 0.1
done
sleep 1

failures=0
fail() { echo "wayland-check: $*" >&2; failures=$((failures + 1)); }
[ "$opened" = yes ] || fail "the window was not configured and drawn"
kill -0 "$window_pid" 2>/dev/null || fail "the window ended"
grep -q 'xdg_toplevel@[0-9]*\.set_title("Zentaro")' "$work/window.log" || fail "no top-level named Zentaro"
grep -q 'wl_surface@[0-9]*\.set_input_region(wl_region' "$work/window.log" ||
  fail "no input region: the see-through parts would take the mouse"
if grep -q 'wl_display@1\.error' "$work/window.log"; then fail "protocol error"; fi
# The compositor does not cut the surface to the input region: the see-through
# parts are transparent only in a buffer with alpha (format 0, ARGB8888).
grep -qE "create_buffer\(new id wl_buffer@[0-9]+, [0-9]+, $WINDOW_WIDTH, $WINDOW_HEIGHT, [0-9]+, 0\)" "$work/window.log" ||
  fail "the window's buffer has no alpha channel: the see-through parts would be painted"

# The input region last sent: the rectangles added to the region object that
# set_input_region named, since that object was created.
input_region() {
  awk '
    match($0, /create_region\(new id wl_region@[0-9]+\)/) {
      id = substr($0, RSTART + 25, RLENGTH - 26); rects[id] = ""; next
    }
    match($0, /wl_region@[0-9]+\.add\([-0-9, ]+\)/) {
      call = substr($0, RSTART, RLENGTH); split(call, parts, /[@.(]/); id = parts[2]
      args = call; sub(/.*\(/, "", args); sub(/\)/, "", args); gsub(/ /, "", args)
      rects[id] = rects[id] " " args; next
    }
    match($0, /set_input_region\(wl_region@[0-9]+\)/) {
      id = substr($0, RSTART + 27, RLENGTH - 28); last = rects[id]
    }
    END { print last }
  ' "$work/window.log"
}
region=$(input_region)
echo "wayland-check: input region of $(wc -w <<< "$region") rectangles"
inside() { # inside X Y: whether the input region holds the point
  local rect x y w h
  for rect in $region; do
    IFS=, read -r x y w h <<< "$rect"
    if [ "$1" -ge "$x" ] && [ "$1" -lt $((x + w)) ] && [ "$2" -ge "$y" ] && [ "$2" -lt $((y + h)) ]; then
      return 0
    fi
  done
  return 1
}
expect_input() { # expect_input yes|no X Y what
  local got=no
  if inside "$2" "$3"; then got=yes; fi
  [ "$got" = "$1" ] || fail "$4 at ($2,$3) should $([ "$1" = yes ] || echo not)take the pointer"
}
while read -r kind x y what; do
  if [ "$kind" = visible ]; then expect_input yes "$x" "$y" "$what"; else expect_input no "$x" "$y" "$what"; fi
done <<< "$SHAPE_POINTS"

(cd "$work" && WAYLAND_DISPLAY=$socket timeout 10 weston-screenshooter > /dev/null 2>&1) || true
shot=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null | head -1 || true)
if [ -n "$shot" ]; then
  cp "$shot" "$build/wayland-check.png"
  echo "wayland-check: screenshot $build/wayland-check.png"
fi

if [ "$failures" -ne 0 ]; then
  grep -v '^\[' "$work/window.log" >&2 || true
  exit 1
fi
echo "wayland-check: the window opens on Wayland"
