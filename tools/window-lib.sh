# Sourced by window-check.sh and window-screenshot.sh.
#
# run_window BUILD_DIR SHOT.png [ACTIONS]
# Starts the built program under Xvfb in a program folder of its own (a copy
# of the program and its sample data file, so the build's data file is never
# touched), waits for the window named Zentaro, runs ACTIONS (shell code that
# sees the window's position as $left and $top), screenshots the whole screen
# into SHOT.png and ends the program. Sets WINDOW_INFO to what xwininfo said
# of the window (empty when none appeared), WINDOW_LOG to the program's output
# and WINDOW_NOTES to what ACTIONS wrote into the file "$notes".
run_window() {
  local build=$1 shot=$2 actions=${3:-}
  local program="$build/app/zentaro"
  if [ ! -x "$program" ]; then
    echo "$(basename "$0"): $program not built" >&2
    return 1
  fi
  local work
  work=$(mktemp -d)
  cp "$program" "$build/app/conversion data.kvx" "$work/"
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    "$1/zentaro" > "$1/zentaro.log" 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      xwininfo -name Zentaro > "$1/window.txt" 2>/dev/null && break
      sleep 0.2
    done
    left=$(awk "/Absolute upper-left X/ {print \$4}" "$1/window.txt")
    top=$(awk "/Absolute upper-left Y/ {print \$4}" "$1/window.txt")
    notes="$1/notes.txt"
    sleep 1.5
    eval "$3"
    import -window root "$2"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
  ' _ "$work" "$shot" "$actions"
  WINDOW_INFO=$(grep -s "" "$work/window.txt" || true)
  WINDOW_LOG=$(grep -s "" "$work/zentaro.log" || true)
  WINDOW_NOTES=$(grep -s "" "$work/notes.txt" || true)
  rm -rf "$work"
}

# window_field "Absolute upper-left X" -> the number xwininfo gave for it.
window_field() {
  awk -v field="$1:" 'index($0, field) { print $NF }' <<< "$WINDOW_INFO"
}
