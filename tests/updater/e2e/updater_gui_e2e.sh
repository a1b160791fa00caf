#!/usr/bin/env bash
# The real updater.exe's minimal window under Wine and the bench's X display,
# driven as a person would with the window driver: Melvaro 1.0 and the
# updater installed with msiexec, the update served by the bench's HTTP
# server (KW_HTTPD_PORT, KW_HTTPD_ROOT, KW_HTTPD_LOG from tools/kwhttpd.py).
# A failed check keeps a screenshot beside the build.
# Usage: updater_gui_e2e.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
. "$source_dir/scripts/wine-env.sh" "$build"
. "$source_dir/tests/ui/uidriver.sh" "$build"
packages="$build/demo/packages"
kwcatalog="$build/tools/kwcatalog/kwcatalog.exe"
root=$KW_HTTPD_ROOT
bench="http://127.0.0.1:$KW_HTTPD_PORT"
main='{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}'
updater_code='{A9D47B20-5C3E-4F18-B6E2-71C8D90F3A5B}'
updates_key='HKCU\Software\Zentrel\Melvaro 2012\Updates'
install="$WINEPREFIX/drive_c/Program Files/Melvaro 2012"
updater_log="$install/log/KW#UPDATER.txt"
shots="$build/tests/updater/gui-failures"
box=(--class '#32770' --title 'Melvaro 2012 Updater')
passed=0
failed=0
output=

check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL [$scenario] $what"
    echo "--- driver output:"; printf '%s\n' "$output" | sed 's/^/    /'
    echo "--- updater log:"; tr -d '\r' <"$updater_log" 2>/dev/null | sed 's/^/    /'
    mkdir -p "$shots"
    ui_screenshot "$shots/$failed.png" && echo "--- screen: $shots/$failed.png"
  fi
}
# The driver prints Windows-1252; the checks are written in UTF-8.
has_text() { iconv -f WINDOWS-1252 -t UTF-8 <<<"$output" | grep -qF -- "$1"; }
in_log() { grep -qF -- "$1" "$updater_log" 2>/dev/null; }
not_in_log() { ! in_log "$1"; }
installed_version() { tr -d '\r' <"$install/melvaro.txt" 2>/dev/null | sed 's/^Melvaro 2012 version //'; }

# A machine with Melvaro 1.0 and the updater, and the update 1.1 published;
# SOURCE is the address the catalog gives for the update files.
fresh_machine() {
  scenario=$1
  local source=${2:-$bench}
  wine msiexec /x "$main" /qn >/dev/null 2>&1
  wine msiexec /i "$packages/melvaro-1.0.0.msi" /qn >/dev/null 2>&1
  wine msiexec /i "$packages/updater-1.0.0.msi" /qn >/dev/null 2>&1
  wine reg delete "$updates_key" /f >/dev/null 2>&1
  wine reg add "$updates_key" /v CatalogURL /d "$bench/catalog.xml" /f >/dev/null
  rm -rf "$install/log" "$install/updates" "$root/files"
  mkdir -p "$root/files"
  cp "$packages/melvaro-1.1.0.msi" "$root/files/"
  server=$source catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
}
start_updater() {
  wine 'C:\Program Files\Melvaro 2012\updater.exe' "$@" </dev/null >/dev/null 2>&1 &
  pid=$!
}
# Waits up to 60 s for the updater to end; $output gets "ended" or "timeout".
wait_end() {
  for _ in $(seq 600); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      output=ended
      return 0
    fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  output=timeout
}

. "$source_dir/scripts/catalog-lib.sh"
wineserver -p 2>/dev/null || true

for language in en fr; do
  if [ $language = en ]; then
    option=/l:1033
    caption='Download in progress'
    waiting='Please wait while the updates for Melvaro 2012 are downloaded.'
    success='Melvaro 2012 has been successfully updated.'
  else
    option=/l:3084
    caption=T # "Téléchargement...", in ASCII for the driver's command line
    waiting='Veuillez patienter pendant le téléchargement des mises à jour de Melvaro 2012.'
    success='Melvaro 2012 a été mis à jour avec succès.'
  fi
  # A slow file keeps the window on the download long enough to read it.
  fresh_machine "minimal window, $language" "$bench/@delay=3"
  start_updater /mingui $option
  output=$(ui_texts --class '#32770' --title-prefix "$caption" --timeout 60000)
  check "the download is announced" has_text "$waiting"
  output=$(ui_answer "${box[@]}" --button OK --timeout 120000)
  check "one box tells of the success" [ "$(iconv -f WINDOWS-1252 -t UTF-8 <<<"$output")" = "$success" ]
  wait_end
  check "the updater ended with that box" [ "$output" = ended ]
  check "the update is installed" [ "$(installed_version)" = 1.1.0 ]
  check "the main program is there to start" [ -f "$install/melvaro.exe" ]
  check "the main program was not started" not_in_log "Launched"
  output=$(ui_wait --class KwMainStandIn --timeout 1000 2>&1)
  check "no main program window" [ $? -ne 0 ]
done

fresh_machine "cancel during the download" "$bench/@delay=8"
start_updater /mingui /l:1033
output=$(ui_wait --class '#32770' --title-prefix 'Download in progress' --timeout 60000)
check "the minimal window shows" [ -n "$output" ]
output=$(ui_click --class '#32770' --title-prefix 'Download in progress' --id 2 2>&1)
check "Cancel pressed" [ $? -eq 0 ]
wait_end
check "the updater ended" [ "$output" = ended ]
check "nothing installed" [ "$(installed_version)" = 1.0.0 ]
check "the cancel logged" in_log "Download was cancelled."

wine msiexec /x "$main" /qn >/dev/null 2>&1
wine msiexec /x "$updater_code" /qn >/dev/null 2>&1
wine reg delete "$updates_key" /f >/dev/null 2>&1
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
