# Sourced by the window checks: what starting the window and looking at its
# shape takes, in one place.
#
# program_folder BUILD_DIR DIR
#   A program folder of its own in DIR: a copy of the built program, its
#   sample data file and its help page, so that the build's data file is
#   never touched.
# start_window LOG COMMAND [ARGS...]
#   Runs COMMAND in the background (its pid in $window_pid, its output in
#   LOG) on the X display and waits up to 10 s for the window named Zentaro;
#   a program that ends at once (the display not ready) is started again.
#   Sets WINDOW_INFO to what xwininfo said of it and $left, $top to its place;
#   fails when no window appeared.
# stop_window
#   Ends the program that start_window started.
# on_xvfb COMMAND [ARGS...]
#   Runs COMMAND with a virtual X display of its own. The search for a free
#   display starts at a random number, so that checks run side by side do
#   not race for the same one.
# run_window BUILD_DIR SHOT.png [ACTIONS]
#   Starts the built program under Xvfb in a program folder of its own, runs
#   ACTIONS (shell code that sees $left and $top and may write notes into the
#   file "$notes"), screenshots the whole screen into SHOT.png and ends the
#   program. Sets WINDOW_INFO (empty when no window appeared), WINDOW_LOG to
#   the program's output and WINDOW_NOTES to the notes.
# window_field "Absolute upper-left X"
#   The number xwininfo gave for the field.
# SHAPE_POINTS
#   The points of the window that show it or are see-through, one a line:
#   "visible|see-through X Y what", in client pixels.

window_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$window_lib_dir/sizes.env"

SHAPE_POINTS="visible 290 134 the amount field
visible 340 96 the upload-time list
visible 100 150 the decorative picture
see-through $((WINDOW_WIDTH - 4)) 150 the strip right of the background
see-through 300 $((WINDOW_HEIGHT - 3)) the strip below the background
see-through 1 1 the white corner of the background"

program_folder() {
  local build=$1 dir=$2
  if [ ! -x "$build/app/zentaro" ]; then
    echo "$(basename "$0"): $build/app/zentaro not built" >&2
    return 1
  fi
  mkdir -p "$dir"
  cp "$build/app/zentaro" "$build/app/conversion data.kvx" "$dir/"
  if [ -f "$build/app/Zentaro Help.html" ]; then cp "$build/app/Zentaro Help.html" "$dir/"; fi
}

window_field() {
  awk -v field="$1:" 'index($0, field) { print $NF }' <<< "$WINDOW_INFO"
}

start_window() {
  local log=$1
  shift
  WINDOW_INFO=
  local attempt _
  # A display under load may take its first clients late: a program that
  # could not open it is started again.
  for attempt in 1 2 3; do
    "$@" > "$log" 2>&1 &
    window_pid=$!
    for _ in $(seq 50); do
      WINDOW_INFO=$(xwininfo -name Zentaro 2>/dev/null) && break 2
      WINDOW_INFO=
      kill -0 "$window_pid" 2>/dev/null || break
      sleep 0.2
    done
    kill -0 "$window_pid" 2>/dev/null && break
    wait "$window_pid" 2>/dev/null || true
    sleep 1
  done
  left=$(window_field "Absolute upper-left X")
  top=$(window_field "Absolute upper-left Y")
  [ -n "$WINDOW_INFO" ]
}

stop_window() {
  [ -z "${window_pid:-}" ] && return 0
  kill "$window_pid" 2>/dev/null || true
  wait "$window_pid" 2>/dev/null || true
  window_pid=
}

on_xvfb() {
  xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" "$@"
}

run_window() {
  local build=$1 shot=$2 actions=${3:-}
  local work
  work=$(mktemp -d)
  program_folder "$build" "$work" || { rm -rf "$work"; return 1; }
  on_xvfb bash -c '
    set -u
    . "$1"
    work=$2 notes=$2/notes.txt
    if start_window "$work/zentaro.log" "$work/zentaro"; then
      printf "%s\n" "$WINDOW_INFO" > "$work/window.txt"
      sleep 1.5
      eval "$4"
    fi
    import -window root "$3"
    stop_window
  ' _ "$window_lib_dir/window-lib.sh" "$work" "$shot" "$actions"
  WINDOW_INFO=$(grep -s "" "$work/window.txt" || true)
  WINDOW_LOG=$(grep -s "" "$work/zentaro.log" || true)
  WINDOW_NOTES=$(grep -s "" "$work/notes.txt" || true)
  rm -rf "$work"
}
