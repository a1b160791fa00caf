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
ui_texts() { ui_run texts "$@"; }
ui_click() { ui_run click "$@"; }
ui_list() { ui_run list "$@"; }
ui_check() { ui_run check "$@"; }
ui_answer() { ui_run answer "$@"; }
ui_close() { ui_run close "$@"; }
ui_type() { ui_run type "$@"; }

# Keeps what the screen showed, for a failed check: ui_screenshot FILE.png
ui_screenshot() { xwd -root -display "${DISPLAY:-:0}" 2>/dev/null | convert xwd:- "$1" 2>/dev/null; }

# Keeps one window as a person sees it: ui_window_shot FILE.png TITLE_PREFIX.
# The X window of that title is read itself: Xvfb's root picture leaves some
# windows black.
ui_window_shot() {
  local id
  ui_wait --title-prefix "$2" >/dev/null || return 1
  id=$(xwininfo -root -tree -display "${DISPLAY:-:0}" 2>/dev/null |
    awk -v title="\"$2" 'index($0, title) { print $1; exit }')
  [ -n "$id" ] && xwd -id "$id" -display "${DISPLAY:-:0}" 2>/dev/null | convert xwd:- "$1" 2>/dev/null
}
