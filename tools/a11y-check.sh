#!/usr/bin/env bash
# Reads the real window as a screen reader does: starts it under Xvfb on a
# session bus of its own with the accessibility bus, then tools/a11y-read.py
# walks its accessible tree (every control with its role and name), presses
# Help through its action (a stand-in xdg-open records the page) and
# computes 7 plus 2 on the keypad through the keys' actions, reading the
# amount back through the text interface.
# Usage: tools/a11y-check.sh BUILD_DIR
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: a11y-check.sh BUILD_DIR}" && pwd)
. "$here/window-lib.sh"
launcher=/usr/libexec/at-spi-bus-launcher
for tool in xvfb-run xwininfo dbus-run-session "$launcher"; do
  command -v "$tool" >/dev/null || { echo "a11y-check: $tool is missing (tools/install-deps.sh test installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
  { echo "a11y-check: python3-pyatspi is missing (tools/install-deps.sh test installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
program_folder "$build" "$work/program"
mkdir "$work/opener"
cat > "$work/opener/xdg-open" <<OPENER
#!/bin/sh
printf '%s\n' "\$1" >> "$work/opened.txt"
OPENER
chmod +x "$work/opener/xdg-open"

cat > "$work/session.sh" <<'SESSION'
set -u
lib=$1 work=$2 launcher=$3 reader=$4
. "$lib"
"$launcher" --launch-immediately > "$work/bus.log" 2>&1 &
bus_pid=$!
status=1
if start_window "$work/window.log" env PATH="$work/opener:$PATH" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
     LC_ALL=C.UTF-8 "$work/program/zentaro"; then
  sleep 1
  /usr/bin/python3 "$reader" "$work/opened.txt"
  status=$?
else
  echo "a11y-check: no window named Zentaro appeared" >&2
fi
stop_window
kill "$bus_pid" 2>/dev/null || true
wait "$bus_pid" 2>/dev/null || true
exit "$status"
SESSION

status=0
on_xvfb dbus-run-session -- \
  bash "$work/session.sh" "$here/window-lib.sh" "$work" "$launcher" "$here/a11y-read.py" || status=$?
if [ "$status" -ne 0 ]; then
  grep -sv '^$' "$work/window.log" >&2 || true
  exit 1
fi
echo "a11y-check: every control is named and pressed through its action"
