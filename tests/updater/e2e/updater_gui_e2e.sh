#!/usr/bin/env bash
# A person updates Melvaro with the updater's windows: the real updater.exe
# under Wine and the bench's X display, driven through tools/kwuidriver, with
# the product installed by msiexec, melvaro.exe as the running product and
# the bench's HTTP server as the vendor. A failed check keeps the screen.
# Usage: updater_gui_e2e.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/e2e-lib.sh" "$1" "$2"
. "$source_dir/tests/ui/uidriver.sh" "$build"
netfx='{5B7A0E4C-2D31-4F0A-8E6B-45FE00000045}'
melvaro_exe='C:\Program Files\Melvaro 2012\melvaro.exe'
main_log="$root/melvaro.log"
list_id=1018
output=

# The update 1.1 as a vendor writes it: it needs the 4.5 runtime, a
# prerequisite the machine lacks, published as a second product with its own
# installer (the runtime's update carries the product's id, which is how an
# update names it). SOURCE is where the catalog sends for the files.
publish_with_runtime() {
  local source=${1:-$server}
  cp "$packages/melvaro-1.1.0.msi" "$root/files/"
  cp "$kwstub" "$root/files/runtime45.exe"
  local m11 runtime
  m11=$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI |
    sed "s|</update>|<subject lang=\"E\">Spring update</subject><releasedate>2012-04-02</releasedate><relnote><text lang=\"E\">Faster start-up.</text></relnote><dependent>$netfx</dependent></update>|")
  runtime=$(catalog_update "$netfx" 4.5.0 0.0.0 0.0.0 runtime45.exe EXE /quiet |
    sed 's|</update>|<subject lang="E">Runtime 4.5</subject><releasedate>2012-03-01</releasedate></update>|')
  server=$source catalog_write "$m11" "<product id=\"$netfx\" mne=\"Netfx45\">$runtime</product>"
}
publish_one() {
  cp "$packages/melvaro-1.1.0.msi" "$root/files/"
  server=${1:-$server} catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
}

# The updater in the background, as started from the Start menu.
start_updater() {
  wine "$updater_exe" "$@" </dev/null >/dev/null 2>&1 &
  updater_pid=$!
}
wait_updater() { wait_end "$updater_pid" 60 updater.exe; }
start_main_program() {
  KWMAIN_LOG="$main_log" wine "$melvaro_exe" </dev/null >/dev/null 2>&1 &
  main_pid=$!
  ui_wait --title-prefix "Melvaro 2012" --class KwMainStandIn >/dev/null
}
# The list's rows: index, check state, the texts of columns 0 to 6, then
# their images.
rows() { ui_list --title-prefix "$1" --id $list_id; }
chosen() { rows "$1" | awk -F'\t' '$2 == "on"' | wc -l; }
# A field of the row whose subject (column 4) is given: 2 check, 10 marker.
row_field() { rows "$1" | awk -F'\t' -v s="$2" -v f="$3" '$7 == s { print $f }'; }
enabled() { ui_texts --title-prefix "$1" | awk -F'\t' -v id="$2" '$1 == id { print $4 }'; }
text_of() { ui_texts --title-prefix "$1" | awk -F'\t' -v id="$2" '$1 == id { print $3 }'; }
is() { [ "$1" = "$2" ] || { echo "    got '$1', expected '$2'"; false; }; }

wineserver -p 2>/dev/null || true
mkdir -p "$root/files"

fresh_machine "from the list to the completion and the product's start"
publish_with_runtime
start_updater /l:1033
ui_wait --title "Choose Updates" --timeout 30000 >/dev/null
check "both rows chosen" is "$(chosen "Choose Updates")" 2
check "the runtime first, locked with the marker while 1.1 needs it" \
  is "$(row_field "Choose Updates" "Runtime 4.5" 1)$(row_field "Choose Updates" "Runtime 4.5" 10)" 05
check "date day/month/year" is "$(row_field "Choose Updates" "Spring update" 8)" 02/04/2012
check "download enabled" is "$(enabled "Choose Updates" 1)" 1
ui_check --title "Choose Updates" --id $list_id --row 1 --column 1 --off >/dev/null
check "unchecking 1.1 leaves the runtime chosen" is "$(row_field "Choose Updates" "Runtime 4.5" 2)" on
check "and no longer locked" is "$(row_field "Choose Updates" "Runtime 4.5" 10)" -
ui_check --title "Choose Updates" --id $list_id --row 0 --column 1 --off >/dev/null
check "nothing chosen disables Download" is "$(enabled "Choose Updates" 1)" 0
check "total of nothing" is "$(text_of "Choose Updates" 1027)" "Total size: 0 bytes"
ui_check --title "Choose Updates" --id $list_id --row 1 --column 1 >/dev/null
check "choosing 1.1 chooses the runtime" is "$(chosen "Choose Updates")" 2
check "and locks it" is "$(row_field "Choose Updates" "Runtime 4.5" 10)" 5
ui_click --title "Choose Updates" --id 1 >/dev/null
ui_wait --title "Download complete - Ready to install" --timeout 30000 >/dev/null
check "ready to install" is "$(text_of "Download complete" 1026)" \
  "The updates are ready to be installed. The installation may take several minutes."
ui_click --title-prefix "Download complete" --id 1 >/dev/null
ui_wait --title "Software Update" --timeout 60000 >/dev/null
check "completion offers the product's start" is "$(text_of "Software Update" 1024)" "Launch Melvaro 2012"
ui_click --title "Software Update" --id 1 >/dev/null
wait_updater
check "updater ended" is "$output" 0
check "installed 1.1" is "$(installed_version)" 1.1.0
check "runtime installer ran" contains "$updater_log" "Installation of executable succeeded"
check "product started after the update" contains "$updater_log" 'Launched "C:\Program Files\Melvaro 2012\melvaro.exe"'
ui_close --title-prefix "Melvaro 2012" --class KwMainStandIn >/dev/null

fresh_machine "cancel during the download, answered No then Yes"
publish_one "$server/@delay=6"
start_updater /l:1033
ui_click --title "Choose Updates" --id 1 --timeout 30000 >/dev/null
ui_wait --title-prefix "Download in progress" >/dev/null
ui_click --title-prefix "Download in progress" --id 2 >/dev/null
output=$(ui_answer --title "Melvaro 2012 Updater" --button No)
check "confirmation asked" contains <(echo "$output") "Are you sure you want to cancel the download?"
check "download goes on" is "$(text_of "Download in progress" 1026)" ""
ui_click --title-prefix "Download in progress" --id 2 >/dev/null
ui_answer --title "Melvaro 2012 Updater" --button Yes >/dev/null
for _ in $(seq 150); do [ "$(text_of "Download in progress" 1026)" = "Operation cancelled" ] && break; sleep 0.1; done
check "the window stays with the reason" is "$(text_of "Download in progress" 1026)" "Operation cancelled"
ui_click --title-prefix "Download in progress" --id 2 >/dev/null
wait_updater
check "second Cancel closes" is "$output" 0
check "nothing installed" is "$(installed_version)" 1.0.0
check "cancel logged" contains "$updater_log" "Download was cancelled."

fresh_machine "the running product accepts to close"
publish_one
: >"$main_log"
KWMAIN_ANSWER=accept start_main_program
start_updater /l:1033
ui_click --title "Choose Updates" --id 1 --timeout 30000 >/dev/null
ui_click --title "Download complete - Ready to install" --id 1 --timeout 30000 >/dev/null
ui_click --title "Software Update" --id 1 --timeout 60000 >/dev/null
wait_updater
check "request received" contains "$main_log" "request code=$updater_code"
check "accepted" contains "$updater_log" "Main application accepted shutdown request"
check "installed after it ended" is "$(installed_version)" 1.1.0

fresh_machine "the running product refuses to close"
publish_one
KWMAIN_ANSWER=refuse start_main_program
start_updater /l:1033
ui_click --title "Choose Updates" --id 1 --timeout 30000 >/dev/null
wait_updater
check "the window ends at once" is "$output" 0
check "refusal logged" contains "$updater_log" "Main application refused to shutdown, cancelling update"
check "nothing downloaded" lacks "$KW_HTTPD_LOG" "melvaro-1.1.0.msi"
check "nothing installed" is "$(installed_version)" 1.0.0
ui_close --title-prefix "Melvaro 2012" --class KwMainStandIn >/dev/null

fresh_machine "the running product has no window to ask, mended: the waiting window ends when it does"
publish_one
KWMAIN_LOG="$main_log" KWMAIN_WINDOW=hidden wine "$melvaro_exe" </dev/null >/dev/null 2>&1 &
sleep 2
start_updater /l:1033
ui_click --title "Choose Updates" --id 1 --timeout 30000 >/dev/null
ui_wait --title "Download complete - Ready to install" --timeout 30000 >/dev/null
check "the tip asks to close it" contains <(text_of "Download complete" 1026) "Melvaro 2012 is running and must be closed"
ui_click --title "Download complete - Ready to install" --id 1 >/dev/null
ui_wait --title "Close Melvaro 2012" >/dev/null
check "asked to close it" contains <(text_of "Close Melvaro 2012" 1013) "Melvaro 2012 is currently running"
wine taskkill /F /IM melvaro.exe >/dev/null 2>&1
ui_click --title "Software Update" --id 1 --timeout 60000 >/dev/null
wait_updater
check "installed once it ended" is "$(installed_version)" 1.1.0

fresh_machine "the main window in French"
publish_with_runtime
start_updater
# The driver gives the window's texts as they are: Windows-1252.
ui_wait --title-prefix "Choix des mises" --timeout 30000 >/dev/null
check "French download button" is "$(text_of "Choix des mises" 1)" $'T\xe9l\xe9charger'
check "French total" contains <(text_of "Choix des mises" 1027) "Taille totale : "
ui_click --title-prefix "Choix des mises" --id 2 >/dev/null
wait_updater
check "cancel in the list ends the run" is "$output" 0

for language in en fr; do
  if [ $language = en ]; then
    option=/l:1033
    caption='Download in progress'
    waiting='Please wait while the updates for Melvaro 2012 are downloaded.'
    success='Melvaro 2012 has been successfully updated.'
  else
    option=/l:3084
    caption=T # the driver's command line carries ASCII only
    waiting=$'Veuillez patienter pendant le t\xe9l\xe9chargement des mises \xe0 jour de Melvaro 2012.'
    success=$'Melvaro 2012 a \xe9t\xe9 mis \xe0 jour avec succ\xe8s.'
  fi
  # A slow file keeps the window on the download long enough to read it.
  fresh_machine "minimal window, $language"
  publish_one "$server/@delay=3"
  start_updater /mingui $option
  check "the download is announced" is "$(text_of "$caption" 1014)" "$waiting"
  output=$(ui_answer --title "Melvaro 2012 Updater" --button OK --timeout 120000)
  check "one box tells of the success" is "$output" "$success"
  wait_updater
  check "the updater ended with that box" is "$output" 0
  check "the update is installed" is "$(installed_version)" 1.1.0
  check "the main program was not started" lacks "$updater_log" "Launched"
done

fresh_machine "cancel in the minimal window during the download"
publish_one "$server/@delay=8"
start_updater /mingui /l:1033
ui_click --title-prefix 'Download in progress' --id 2 --timeout 60000 >/dev/null
wait_updater
check "the updater ended" is "$output" 0
check "nothing installed" is "$(installed_version)" 1.0.0
check "the cancel logged" contains "$updater_log" "Download was cancelled."

finish_machine
