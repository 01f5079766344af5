#!/usr/bin/env bash
# Starts the built window natively on Wayland, under a headless weston, and
# checks that it opens: the compositor configures its top-level surface, the
# window acknowledges and draws into it, and it sends the shape as its input
# region. Leaves a screenshot of the compositor's output in
# BUILD_DIR/wayland-check.png.
# Usage: tools/wayland-check.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: wayland-check.sh BUILD_DIR}" && pwd)
program="$build/app/zentaro"
[ -x "$program" ] || { echo "wayland-check: $program not built" >&2; exit 1; }
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

# A program folder of its own, so that the build's data file is never touched.
mkdir "$work/program"
cp "$program" "$build/app/conversion data.kvx" "$work/program/"

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
