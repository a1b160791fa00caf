#!/usr/bin/env bash
# Setup's part of the demo: a person installs Melvaro 2012 from its medium
# with the wizard, repairs it, then removes it. The window driver clicks
# through the wizard as the person would, on the display the demo runs on.
# Usage: setup-demo.sh SOURCE_DIR BUILD_DIR (in the demo's Wine prefix)
set -euo pipefail
here=$1
build=$2
. "$here/tests/ui/uidriver.sh" "$build"
medium="$build/demo/medium"
install="$WINEPREFIX/drive_c/Program Files/Melvaro 2012"
wizard='[Melvaro 2012]'
next=12324 finish=12325 accept=1121 remove=1133 launch=1161
log="$WINEPREFIX/drive_c/setup-demo-log.txt"
show() { iconv -f WINDOWS-1252 -t UTF-8 | tr -d '\r'; }

# Runs setup.exe in English and clicks: each argument is a control id,
# "page" to print the page the wizard shows, or "complete" to wait for the
# completion page and print it.
run_setup() {
  : >"$log"
  wine "$medium/setup.exe" /l:1033 /log:'C:\setup-demo-log.txt' </dev/null >/dev/null 2>&1 &
  local pid=$!
  ui_wait --title-prefix "$wizard" --timeout 60000 >/dev/null
  for action in "$@"; do
    if [ "$action" = complete ]; then
      ui_wait --title "$wizard - Complete" --timeout 120000 >/dev/null
      echo "   page: Complete"
    elif [ "$action" = page ]; then
      sleep 0.5
      printf '   page: %s\n' "$(ui_texts --title-prefix "$wizard" | awk -F'\t' '$2 == "#32770" && $5 == 1 { print $3; exit }')"
    else
      ui_click --title-prefix "$wizard" --id "$action" --timeout 60000 >/dev/null
    fi
  done
  wait "$pid" || true
}
files() { (cd "$install" 2>/dev/null && find . -type f | sort | sed 's/^\.\//   /') || echo "   (no folder)"; }

echo
echo "== 8. setup.exe from the medium ($medium)"
tr -d '\r' <"$medium/setup.ini" | grep -v '^;' | sed 's/^/   /'
wine msiexec /x '{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}' /qn >/dev/null 2>&1 || true
echo "   (Melvaro removed first, so setup installs it afresh)"

echo
echo "== 9. Install: welcome, licence accepted, destination, ready, progress, completion"
run_setup page $next page $accept $next page $next page $next complete $launch $finish
echo "   installed files:"
files

echo
echo "== 10. Repair after melvaro.txt was deleted"
rm -f "$install/melvaro.txt"
run_setup page $next page $next page $next complete $finish
echo "   melvaro.txt back: $([ -f "$install/melvaro.txt" ] && echo yes || echo no)"

echo
echo "== 11. Remove"
run_setup page $next $remove $next page $next complete $finish
echo "   left in the folder:"
files

echo
echo "== 12. Setup's log of the removal (KW#SETUP.txt)"
show <"$log" | sed 's/^/   /'
