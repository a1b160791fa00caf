# Sourced by GUI test scripts: the window driver (tools/kwuidriver) wrapped
# for bash, run in the prefix of scripts/wine-env.sh. Each function passes
# its arguments on, prints what the driver prints and returns its status.
# Usage: . tests/ui/uidriver.sh BUILD_DIR
ui_driver="$(cd "${1:?build directory}" && pwd)/tools/kwuidriver/kwuidriver.exe"

# Through a file, not a pipe: Wine's helper processes would keep a pipe open.
# Wine's own messages go to stderr; the driver's output stays clean.
ui_run() {
  local out status=0
  out=$(mktemp)
  wine "$ui_driver" "$@" </dev/null >"$out" 2>/dev/null || status=$?
  tr -d '\r' <"$out"
  rm -f "$out"
  return $status
}
ui_wait() { ui_run wait "$@"; }
ui_rect() { ui_run rect "$@"; }
ui_texts() { ui_run texts "$@"; }
ui_click() { ui_run click "$@"; }
ui_list() { ui_run list "$@"; }
ui_check() { ui_run check "$@"; }
ui_answer() { ui_run answer "$@"; }
ui_close() { ui_run close "$@"; }

# Keeps what the screen showed, for a failed check: ui_screenshot FILE.png
ui_screenshot() { xwd -root -display "${DISPLAY:-:0}" 2>/dev/null | convert xwd:- "$1" 2>/dev/null; }

# Keeps one window as a person sees it: ui_window_shot FILE.png WINDOW...
# The X window at the window's place is read itself: Xvfb's root picture
# leaves some windows black.
ui_window_shot() {
  local file=$1 x y w h id
  shift
  read -r x y w h < <(ui_rect "$@") || return 1
  id=$(xwininfo -root -tree -display "${DISPLAY:-:0}" 2>/dev/null |
    awk -v at="+$x+$y" -v size="${w}x${h}" '$NF == at && index($0, size "+") { print $1; exit }')
  if [ -n "$id" ]; then
    xwd -id "$id" -display "${DISPLAY:-:0}" 2>/dev/null | convert xwd:- "$file" 2>/dev/null
  else
    xwd -root -display "${DISPLAY:-:0}" 2>/dev/null | convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$file" 2>/dev/null
  fi
}
