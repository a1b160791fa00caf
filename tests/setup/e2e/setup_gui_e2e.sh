#!/usr/bin/env bash
# A person installs, repairs and removes Melvaro 2012 from its medium with
# setup's wizard: the real setup.exe under Wine, its real msi.dll and the
# bench's X display, driven through tools/kwuidriver. A failed check keeps
# the screen and prints setup's log.
# Usage: setup_gui_e2e.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
. "$source_dir/scripts/wine-env.sh" "$build"
. "$source_dir/tests/ui/uidriver.sh" "$build"
medium="$build/demo/medium"
main='{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}'
samples='{2B8E5D41-7C3A-4F96-8E12-5A0D9C6B3F71}'
tutorials='{7D3F9A62-1E5B-4A08-B7C4-2F6E8D1A5C31}'
plugins='{9A4C7E15-3B6D-4F82-A1E9-6C5B0D8F2E41}'
runtime_key='HKLM\Software\Microsoft\NET Framework Setup'
default_folder="$WINEPREFIX/drive_c/Program Files/Melvaro 2012"
wizard='[Melvaro 2012]'
# The sheet's own buttons and the pages' controls.
back=12323 next=12324 finish=12325 cancel=2
welcome_intro=1110 license_yes=1121 license_no=1122 dest_folder=1012 dest_change=1013
folder_box=1007 repair=1130 remove=1133 status1=1152 complete_intro=1160 launch=1161 readme=1162
prereq_link=1171
setup_log=
failure_dir="$build/tests/setup/failures"
. "$source_dir/tests/ui/checks.sh"
explain_failure() { echo "--- setup log:"; tr -d '\r' <"$setup_log" 2>/dev/null | sed 's/^/    /'; }

is() { [ "$1" = "$2" ] || { echo "    got '$1', expected '$2'"; false; }; }
contains() { grep -qF -- "$2" "$1" 2>/dev/null; }
lacks() { ! grep -qF -- "$2" "$1" 2>/dev/null; }
field() { ui_texts --title-prefix "$wizard" | awk -F'\t' -v id="$1" -v f="$2" '$1 == id && $5 == 1 { print $f; exit }'; }
text_of() { field "$1" 3; }
enabled() { field "$1" 4; }
shown() { ui_texts --title-prefix "$wizard" | awk -F'\t' -v id="$1" '$1 == id { v = $5 } END { print v + 0 }'; }
page_is() { ui_wait --title "$wizard - $1" --timeout "${2:-10000}" >/dev/null; }
product_installed() { wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" >/dev/null 2>&1; }
product_absent() { ! product_installed "$1"; }

# A machine without the product, its samples or the runtime the medium
# installs first, and nothing left running of a scenario before.
fresh_machine() {
  scenario=$1
  wine taskkill /F /IM setup.exe >/dev/null 2>&1
  wine taskkill /F /IM melvaro.exe >/dev/null 2>&1
  wine taskkill /F /IM notepad.exe >/dev/null 2>&1
  for product in "$plugins" "$tutorials" "$samples"; do wine msiexec /x "$product" /qn >/dev/null 2>&1; done
  wine msiexec /x "$main" /qn >/dev/null 2>&1
  wine reg delete "$runtime_key" /f >/dev/null 2>&1
}
# setup.exe of a medium in the background, logging to a file of its own.
start_setup() {
  local from=$1
  shift
  setup_log="$build/tests/setup/setup-log.txt"
  mkdir -p "$(dirname "$setup_log")"
  : >"$setup_log"
  wine "$from/setup.exe" /log:"$(winepath -w "$setup_log" 2>/dev/null)" "$@" </dev/null >/dev/null 2>&1 &
  setup_pid=$!
}
wait_setup() { wait_end "$setup_pid" 60 setup.exe; }
# A first installation as offered: welcome, licence accepted, the default
# folder, then Install.
install_with_defaults() {
  ui_click --title-prefix "$wizard" --id $next --timeout 30000 >/dev/null
  ui_click --title-prefix "$wizard" --id $license_yes >/dev/null
  for _ in 1 2 3; do ui_click --title-prefix "$wizard" --id $next >/dev/null; done
}

wineserver -p 2>/dev/null || true

fresh_machine "install: language, licence declined then accepted, another folder, readme and launch"
start_setup "$medium"
ui_click --title "Select language" --id 1311 --timeout 30000 >/dev/null
page_is Welcome 30000
check "welcome names the product" contains <(text_of $welcome_intro) "will install Melvaro 2012 on your computer"
check "back disabled on welcome" is "$(enabled $back)" 0
ui_click --title-prefix "$wizard" --id $next >/dev/null
page_is "License Agreement"
check "licence not accepted at first: Next disabled" is "$(enabled $next)" 0
ui_click --title-prefix "$wizard" --id $license_yes >/dev/null
check "accepted: Next enabled" is "$(enabled $next)" 1
ui_click --title-prefix "$wizard" --id $license_no >/dev/null
check "declined again: Next disabled" is "$(enabled $next)" 0
ui_click --title-prefix "$wizard" --id $license_yes >/dev/null
ui_click --title-prefix "$wizard" --id $next >/dev/null
page_is "Destination Folder"
check "default folder" is "$(text_of $dest_folder)" 'C:\Program Files\Melvaro 2012\'
ui_click --title-prefix "$wizard" --id $dest_change >/dev/null
ui_type --title "Change Current Destination Folder" --id $folder_box --text 'C:\Apps\Melvaro' >/dev/null
ui_click --title "Change Current Destination Folder" --id 1 >/dev/null
check "the folder chosen" is "$(text_of $dest_folder)" 'C:\Apps\Melvaro\'
ui_click --title-prefix "$wizard" --id $next >/dev/null
page_is Ready
check "Install on Next" is "$(text_of $next)" Install
ui_click --title-prefix "$wizard" --id $next >/dev/null
page_is Complete 60000
check "success told" contains <(text_of $complete_intro) "successfully completed the setup of Melvaro 2012"
check "launch offered, ticked" is "$(text_of $launch)" "Launch Melvaro 2012"
ui_click --title-prefix "$wizard" --id $readme >/dev/null
ui_click --title-prefix "$wizard" --id $finish >/dev/null
wait_setup
check "setup ended" is "$output" 0
check "the runtime's installer ran first" contains "$setup_log" "Prerequisite installable installed with return code 0"
check "installed into the chosen folder" test -f "$WINEPREFIX/drive_c/Apps/Melvaro/melvaro.exe"
check "the samples too" test -d "$WINEPREFIX/drive_c/Apps/Melvaro/Samples"
check "product registered" product_installed "$main"
check "readme opened" contains "$setup_log" 'Launched notepad.exe "C:\Apps\Melvaro\lisezmoi.txt"'
check "product started" contains "$setup_log" 'Launched "C:\Apps\Melvaro\melvaro.exe"'

scenario="maintenance in French: repair brings a lost file back"
wine taskkill /F /IM melvaro.exe >/dev/null 2>&1
wine taskkill /F /IM notepad.exe >/dev/null 2>&1
rm -f "$WINEPREFIX/drive_c/Apps/Melvaro/melvaro.txt"
start_setup "$medium" /l:3084
ui_wait --title-prefix "$wizard" --timeout 30000 >/dev/null
check "maintenance welcome" contains <(text_of $welcome_intro) "programme"
ui_click --title-prefix "$wizard" --id $next >/dev/null
check "repair chosen at first" is "$(ui_texts --title-prefix "$wizard" | awk -F'\t' -v id=$repair '$1 == id { print $5 }')" 1
ui_click --title-prefix "$wizard" --id $next >/dev/null
check "Repair on Next" is "$(text_of $next)" $'R\xe9parer'
ui_click --title-prefix "$wizard" --id $next >/dev/null
for _ in $(seq 300); do [ "$(enabled $finish)" = 1 ] && break; sleep 0.2; done
ui_click --title-prefix "$wizard" --id $finish >/dev/null
wait_setup
check "setup ended" is "$output" 0
check "the lost file is back" test -f "$WINEPREFIX/drive_c/Apps/Melvaro/melvaro.txt"
check "nothing launched after a repair" lacks "$setup_log" "Launched"

scenario="maintenance in French: remove"
start_setup "$medium" /l:3084
ui_click --title-prefix "$wizard" --id $next --timeout 30000 >/dev/null
ui_click --title-prefix "$wizard" --id $remove >/dev/null
ui_click --title-prefix "$wizard" --id $next >/dev/null
check "Uninstall on Next" is "$(text_of $next)" $'D\xe9sinstaller'
ui_click --title-prefix "$wizard" --id $back >/dev/null
check "back to the maintenance choice" is "$(shown $remove)" 1
ui_click --title-prefix "$wizard" --id $next >/dev/null
ui_click --title-prefix "$wizard" --id $next >/dev/null
for _ in $(seq 300); do [ "$(enabled $finish)" = 1 ] && break; sleep 0.2; done
check "removal told" contains <(text_of $complete_intro) "supprim"
check "no launch offered after removal" is "$(shown $launch)" 0
ui_click --title-prefix "$wizard" --id $finish >/dev/null
wait_setup
check "product gone" test ! -e "$WINEPREFIX/drive_c/Apps/Melvaro/melvaro.exe"
check "product unregistered" product_absent "$main"

fresh_machine "a prerequisite without installer: where to get it"
start_setup "$build/demo/medium-missing-prerequisite" /l:1033
install_with_defaults
output=$(ui_answer --title "Melvaro 2012" --button OK --timeout 30000)
check "the pass's result told in the system's words" contains <(echo "$output") "not found"
page_is "Missing prerequisite program"
check "the link names it" is "$(text_of $prereq_link)" "Soap Toolkit v.3.0"
check "the link is live" is "$(enabled $prereq_link)" 1
ui_click --title-prefix "$wizard" --id $finish >/dev/null
wait_setup
check "nothing installed" product_absent "$main"

# The second of three packages takes 8 s (a custom action waits), long
# enough to cancel while it installs.
fresh_machine "cancel confirmed during the second of three packages"
start_setup "$build/demo/medium-three-packages" /l:1033
install_with_defaults
for _ in $(seq 150); do [ "$(text_of $status1)" = "Melvaro 2012 Tutorials" ] && break; sleep 0.2; done
check "the second package installing" is "$(text_of $status1)" "Melvaro 2012 Tutorials"
ui_click --title-prefix "$wizard" --id $cancel >/dev/null
output=$(ui_answer --title-prefix "Melvaro 2012" --button Yes --timeout 30000)
check "cancel confirmed" contains <(echo "$output") "Are you sure you want to cancel the current installation?"
page_is Complete 30000
check "the interruption told" contains <(text_of $complete_intro) "interrupted"
ui_click --title-prefix "$wizard" --id $finish >/dev/null
wait_setup
check "setup ended" is "$output" 0
check "the first package stays installed" product_installed "$main"
check "the third was never started" product_absent "$plugins"

# Wine's engine makes no administrative image (it answers 1626): the run
# shows that the request reaches the engine and that its refusal is told.
fresh_machine "administrative installation refused by Wine's engine"
# Wine quotes an argument holding quotes again, so the path has no blanks.
start_setup "$medium" /l:1033 '/a:C:\AdminPoint'
install_with_defaults
output=$(ui_answer --title-prefix "Melvaro 2012" --button OK --timeout 30000)
check "the engine's answer told" contains <(echo "$output") "Windows Installer returned '1626'"
page_is Complete 30000
check "the failure told" contains <(text_of $complete_intro) "interrupted"
ui_click --title-prefix "$wizard" --id $finish >/dev/null
wait_setup
check "the administrative action asked for" contains "$setup_log" "MsiInstallProduct returned 1626"
check "nothing installed on the machine" product_absent "$main"

fresh_machine "done"
rm -rf "$WINEPREFIX/drive_c/Apps"
report_checks
