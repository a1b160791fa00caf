#!/usr/bin/env bash
# Takes a picture of every window of the updater, in English and in French,
# into docs/screenshots/: the real program on a machine of the test bench
# (tests/updater/e2e/e2e-lib.sh), driven to each window by tools/kwuidriver.
# Setup's windows come from its demo (kwsetupuidemo).
# Runs beside the bench's HTTP server, on a virtual screen:
#   python3 tools/kwhttpd.py -- xvfb-run -a bash scripts/screenshots.sh BUILD SOURCE
set -uo pipefail
. "$2/tests/updater/e2e/e2e-lib.sh" "$1" "$2"
. "$source_dir/tests/ui/uidriver.sh" "$build"
shots="$source_dir/docs/screenshots"
melvaro_exe='C:\Program Files\Melvaro 2012\melvaro.exe'
mkdir -p "$shots"

# Window titles by language: the driver finds windows by these prefixes,
# which its command line carries in ASCII only.
declare -A title_en=([check]="Checking for Updates" [list]="Choose Updates" [download]="Download in progress"
  [ready]="Download complete" [close]="Close Melvaro" [complete]="Software Update")
declare -A title_fr=([check]="Recherche de mises" [list]="Choix des mises" [download]="T" [ready]="T"
  [close]="Fermer Melvaro" [complete]="Mise ")
title() { local -n titles="title_$lang"; echo "${titles[$1]}"; }
shot() {
  # A window shows up before it has painted: wait for it, then a moment more.
  ui_wait --title-prefix "$(title "$2")" --timeout 30000 >/dev/null
  sleep 0.7
  ui_window_shot "$shots/$1-$lang.png" "$(title "$2")" &&
    echo "  $1-$lang.png" || echo "  $1-$lang.png: no window"
}
# Waits until a control of the window is enabled: the state it shows then.
wait_enabled() {
  for _ in $(seq 300); do
    [ "$(ui_texts --title-prefix "$1" | awk -F'\t' -v id="$2" '$1 == id { print $4 }')" = 1 ] && return 0
    sleep 0.2
  done
  return 1
}
# Waits up to 30 s for a program to end; one that stays is ended.
wait_gone() {
  for _ in $(seq 300); do
    kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null; return 0; }
    sleep 0.1
  done
  kill "$1" 2>/dev/null
}
updater() {
  local option=/l:1033
  [ "$lang" = fr ] && option=/l:3084
  wine "$updater_exe" "$option" "$@" </dev/null >/dev/null 2>&1 &
  updater_pid=$!
}
# The update 1.1, which needs the 4.5 runtime the machine lacks (a second
# product whose update carries the product's id).
netfx='{5B7A0E4C-2D31-4F0A-8E6B-45FE00000045}'
publish() {
  cp "$packages/melvaro-1.1.0.msi" "$root/files/"
  cp "$kwstub" "$root/files/runtime45.exe"
  catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI |
    sed "s|</update>|<subject lang=\"E\">Spring update</subject><subject lang=\"F\">Mise \&#224; jour de printemps</subject><releasedate>2012-04-02</releasedate><relnote><text lang=\"E\">Faster start-up.</text></relnote><dependent>$netfx</dependent></update>|")" \
    "<product id=\"$netfx\" mne=\"Netfx45\">$(catalog_update "$netfx" 4.5.0 0.0.0 0.0.0 runtime45.exe EXE /quiet |
      sed 's|</update>|<subject lang="E">Runtime 4.5</subject><subject lang="F">Environnement 4.5</subject><releasedate>2012-03-01</releasedate></update>|')</product>"
}

wineserver -p 2>/dev/null || true
for lang in en fr; do
  echo "== $lang"
  fresh_machine "$lang: main window"
  publish
  wine reg add "$updates_key" /v CatalogURL /d "$server/@delay=3/catalog.xml" /f >/dev/null
  sed -i "s|$server/files/|$server/@delay=4/files/|" "$root/catalog.xml"
  # The product runs with no window to ask, so the installation waits for it.
  KWMAIN_WINDOW=hidden wine "$melvaro_exe" </dev/null >/dev/null 2>&1 &
  updater
  shot check-progress check
  shot updater-list list
  ui_click --title-prefix "$(title list)" --id 1 >/dev/null
  ui_wait --title-prefix "$(title download)" >/dev/null
  sleep 5
  shot updater-download download
  wait_enabled "$(title ready)" 1
  shot updater-ready ready
  ui_click --title-prefix "$(title ready)" --id 1 >/dev/null
  shot must-close close
  wine taskkill /F /IM melvaro.exe >/dev/null 2>&1
  shot completion-success complete
  ui_click --title-prefix "$(title complete)" --id 1 >/dev/null
  wait_gone "$updater_pid"

  fresh_machine "$lang: restart needed"
  cp "$kwstub" "$root/files/runtime45.exe"
  catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 runtime45.exe EXE /quiet)"
  KWSTUB_EXIT=3010 updater
  ui_click --title-prefix "$(title list)" --id 1 --timeout 30000 >/dev/null
  ui_click --title-prefix "$(title ready)" --id 1 --timeout 30000 >/dev/null
  shot completion-restart complete
  ui_click --title-prefix "$(title complete)" --id 1023 >/dev/null
  ui_click --title-prefix "$(title complete)" --id 1 >/dev/null
  wait_gone "$updater_pid"

  fresh_machine "$lang: minimal window"
  cp "$packages/melvaro-1.1.0.msi" "$root/files/"
  catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
  sed -i "s|$server/files/|$server/@delay=4/files/|" "$root/catalog.xml"
  updater /mingui
  sleep 2
  shot minimal download
  ui_answer --title "Melvaro 2012 Updater" --button OK --timeout 60000 >/dev/null
  wait_gone "$updater_pid"
done
finish_machine >/dev/null

# Setup's windows, from its demo (kwsetupuidemo) over made-up data: the
# language choice, the wait at start-up, every page of the wizard and the
# change-folder dialog.
setup_demo="$build/tests/setup/ui/kwsetupuidemo.exe"
declare -A title_en+=([language]="Select language" [wait]="Melvaro 2012" [wizard]="[Melvaro 2012]"
  [folder]="Change Current")
declare -A title_fr+=([language]="S" [wait]="Melvaro 2012" [wizard]="[Melvaro 2012]" [folder]="Modifier le dossier")
setup_pages="welcome license destination maintenance ready ready-repair ready-remove progress complete
  complete-restart complete-failed missing"
demo_start() {
  wine "$setup_demo" "$lang" "$@" </dev/null >/dev/null 2>&1 &
  demo_pid=$!
}
demo_end() {
  kill "$demo_pid" 2>/dev/null
  wait "$demo_pid" 2>/dev/null || true # ended by the kill
}
for lang in en fr; do
  for window in language wait; do
    demo_start "$window"
    shot "setup-$window" "$window"
    demo_end
  done
  for page in $setup_pages; do
    demo_start "$page"
    shot "setup-$page" wizard
    demo_end
  done
  # The dialog opens on the destination, which does not exist yet: one
  # folder up shows folders to choose from.
  demo_start folder
  ui_click --title-prefix "$(title folder)" --id 1003 --timeout 30000 >/dev/null
  shot setup-change-folder folder
  demo_end
done
