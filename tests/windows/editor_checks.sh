# Sourced by scripts/test-windows.sh: the editor window under Wine. A private
# X server (Xvfb) gives Wine a display; vorn-editorhost.exe opens the editor of
# each library in a window of its own, drives it with window messages,
# photographs it, and opens and closes it under load. The check plug-in (the
# product with a layout of known controls) gets every check and the
# comparison with the headless surface's images; the product libraries get
# the window, key and open/close checks and their screenshots.
# The captures land in <build>/editor-screenshots/ for people to look at.

editor_xvfb_pid=
editor_display=

# Starts Xvfb on a free display; the editor checks use it through DISPLAY.
start_editor_display() {
  local display_file=$work/xvfb-display
  rm -f "$display_file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$logs/xvfb.log" 2>&1 &
  editor_xvfb_pid=$!
  local waited=0
  while [ ! -s "$display_file" ] && [ $waited -lt 100 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  if [ ! -s "$display_file" ]; then
    echo "Xvfb did not start; see $logs/xvfb.log"
    return 1
  fi
  editor_display=:$(head -n 1 "$display_file")
  # Wine's session must start on this display, not on the display-less one
  # the other checks ran in.
  vorn_wine_stop
  echo "Xvfb on display $editor_display"
}

stop_editor_display() {
  DISPLAY=$editor_display vorn_wine_stop
  if [ -n "$editor_xvfb_pid" ]; then
    kill "$editor_xvfb_pid" 2>/dev/null
    wait "$editor_xvfb_pid" 2>/dev/null
  fi
  editor_xvfb_pid=
}

# make_editor_references <vorn-editor-reference> <folder>
make_editor_references() {
  mkdir -p "$2" && "$1" "$2"
}

# check_editor <vorn-editorhost.exe> <library> <tag> <screenshot folder> [<reference folder>]
# With a reference folder the library is the check plug-in.
check_editor() {
  local host=$1 library=$2 tag=$3 shots=$4 references=${5:-}
  local arguments=()
  [ -n "$references" ] && arguments+=(--check-layout)
  arguments+=("$(wine_path "$library")" "$tag" "$(wine_path "$shots")")
  [ -n "$references" ] && arguments+=("$(wine_path "$references")")
  mkdir -p "$shots"
  DISPLAY=$editor_display run_wine "$host" "${arguments[@]}" | tr -d '\r' | tee "$work/editor-$tag.txt"
  local status=${PIPESTATUS[0]}
  grep '^FIGURE' "$work/editor-$tag.txt" >>"$work/editor-figures.txt"
  return "$status"
}
