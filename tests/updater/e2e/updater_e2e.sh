#!/usr/bin/env bash
# Runs the real updater.exe under Wine as a person's machine would: the
# product 1.0 and the updater are installed with msiexec, the catalog and the
# update files come from the bench's HTTP server (KW_HTTPD_PORT, KW_HTTPD_ROOT,
# KW_HTTPD_LOG from tools/kwhttpd.py), and each scenario checks what the run
# left behind: installed version, requests, log, registry, cache.
# Usage: updater_e2e.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
. "$source_dir/scripts/wine-env.sh" "$build"
packages="$build/demo/packages"
kwcatalog="$build/tools/kwcatalog/kwcatalog.exe"
kwsfx="$build/tools/kwsfx/kwsfx.exe"
kwstub="$build/tools/kwstub/kwstub.exe"
root=$KW_HTTPD_ROOT
server="http://127.0.0.1:$KW_HTTPD_PORT"
main='{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}'
updater_code='{A9D47B20-5C3E-4F18-B6E2-71C8D90F3A5B}'
updates_key='HKCU\Software\Zentrel\Melvaro 2012\Updates'
state_key='HKCU\Software\Zentrel\Melvaro\Updates'
install="$WINEPREFIX/drive_c/Program Files/Melvaro 2012"
updater_exe='C:\Program Files\Melvaro 2012\updater.exe'
passed=0
dumped=
failed=0

check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL [$scenario] $what"
    if [ "$dumped" != "$scenario" ]; then
      dumped=$scenario
      echo "--- updater log:"; tr -d '\r' <"$updater_log" 2>/dev/null | sed 's/^/    /'
      echo "--- server log:"; sed 's/^/    /' "$KW_HTTPD_LOG"
    fi
  fi
}
contains() { grep -qF -- "$2" "$1" 2>/dev/null; }
lacks() { ! grep -qF -- "$2" "$1" 2>/dev/null; }
installed_version() { tr -d '\r' <"$install/melvaro.txt" 2>/dev/null | sed 's/^Melvaro 2012 version //'; }
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { print $3 }'; }
updater_log="$install/log/KW#UPDATER.txt"

. "$source_dir/scripts/catalog-lib.sh"

# A machine with Melvaro 1.0 and the updater installed, the catalog URL
# pointing at the bench, and nothing left of an earlier scenario.
fresh_machine() {
  scenario=$1
  wine msiexec /x "$main" /qn >/dev/null 2>&1
  wine msiexec /i "$packages/melvaro-1.0.0.msi" /qn >/dev/null 2>&1
  wine msiexec /i "$packages/updater-1.0.0.msi" /qn >/dev/null 2>&1
  wine reg delete "$updates_key" /f >/dev/null 2>&1
  wine reg delete "$state_key" /f >/dev/null 2>&1
  wine reg add "$updates_key" /v CatalogURL /d "$server/catalog.xml" /f >/dev/null
  rm -rf "$install/log" "$install/updates" "$root/files"
  mkdir -p "$root/files"
  : >"$KW_HTTPD_LOG"
}
run_updater() { wine "$updater_exe" "$@" </dev/null >/dev/null 2>&1; }

wineserver -p 2>/dev/null || true
mkdir -p "$root/files"

# The vendor publishes 1.1, later 1.2: each run installs the newest package
# as a minor upgrade of what is there.
fresh_machine "two minor upgrades, deliberately asked the installed state once downloaded"
cp "$packages/melvaro-1.1.0.msi" "$packages/melvaro-1.2.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
wine reg add "$updates_key" /v StatsURL /d "$server/stats.asp" /f >/dev/null
mkdir -p "$install/log"
echo "engine log of an earlier run" >"$install/log/KW#MSI.TXT"
check "installed 1.0 before the run" [ "$(installed_version)" = 1.0.0 ]
run_updater /silent
check "installed 1.1 after the first run" [ "$(installed_version)" = 1.1.0 ]
check "earlier engine log kept as .bak" contains "$install/log/KW#MSI.TXT.bak" "engine log of an earlier run"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI; catalog_update M12 1.2.0 1.1.0 1.1.0 melvaro-1.2.0.msi MSI)"
run_updater /silent /loga
check "installed 1.2 after the second run" [ "$(installed_version)" = 1.2.0 ]
check "catalog request with the product's query" \
  contains "$KW_HTTPD_LOG" "GET /catalog.xml?CompanyName=2012-&Year=2012&Language=F "
check "first update fetched" contains "$KW_HTTPD_LOG" "GET /files/melvaro-1.1.0.msi "
check "second update fetched" contains "$KW_HTTPD_LOG" "GET /files/melvaro-1.2.0.msi "
check "statistics after a verified download" contains "$KW_HTTPD_LOG" \
  "GET /stats.asp?CompanyName=&Agent=UPD&Product=MEL&Update=melvaro-1.1.0.msi&Current=1.00.0000&Target=1.01.0000 "
check "start line" contains "$updater_log" "Starting Melvaro 2012 updater v.1.00.0000"
check "both installed" [ "$(grep -c 'Full installation succeeded' "$updater_log")" = 2 ]
check "cache emptied" [ -z "$(ls -A "$install/updates" 2>/dev/null)" ]
check "end line" contains "$updater_log" "Ending updater"
check "check date" [ -n "$(reg_value "$state_key" DateLastCheck)" ]
check "installation date" [ -n "$(reg_value "$state_key" DateLast)" ]
check "first run's engine log kept as .bak" contains "$install/log/KW#MSI.TXT.bak" "melvaro-1.1.0.msi"
check "minor upgrade command line in the engine log" contains "$install/log/KW#MSI.TXT" "REINSTALLMODE = vomus"

fresh_machine "full package in a self-extracting archive"
wine "$kwsfx" pack "$root/files/melvaro-1.2.0.exe" "$packages/melvaro-1.2.0.msi" >/dev/null 2>&1
catalog_write "$(catalog_update MFULL 1.2.0 0.0.0 1.1.0 melvaro-1.2.0.exe FMC)"
run_updater /silent
check "installed 1.2 from the archive" [ "$(installed_version)" = 1.2.0 ]
check "extraction logged" contains "$updater_log" "Successfully launched extraction process"
check "extraction folder emptied" [ -z "$(ls -A "$install/updates/tmp" 2>/dev/null)" ]

fresh_machine "executable update"
cp "$kwstub" "$root/files/tool-1.0.5.exe"
catalog_write "$(catalog_update MEXE 1.0.5 1.0.0 1.0.0 tool-1.0.5.exe EXE '/quiet')"
export KWSTUB_LOG="$root/stub.log"
run_updater /silent
check "executable ran with its parameters" contains "$root/stub.log" "/quiet"
check "executable logged" contains "$updater_log" "Installation of executable succeeded"
unset KWSTUB_LOG

fresh_machine "server status instead of a catalog"
cp "$source_dir/tests/updater/engine/data/status.xml" "$root/catalog.xml"
run_updater /silent
check "nothing installed" [ "$(installed_version)" = 1.0.0 ]
check "invalid catalog logged" contains "$updater_log" "Catalog is corrupted or invalid"
check "no updates" contains "$updater_log" "No updates necessary"

fresh_machine "only the updater's own product, deliberately read with the engine bound"
cp "$packages/melvaro-1.1.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
run_updater /silent "/only:$updater_code"
check "main product left alone" [ "$(installed_version)" = 1.0.0 ]
check "main product not added" lacks "$updater_log" "Added $main"
check "installed version of the product named" contains "$updater_log" "Added $updater_code v.1.00.0000"
check "no download" lacks "$KW_HTTPD_LOG" "melvaro-1.1.0.msi"

fresh_machine "ignore list"
cp "$packages/melvaro-1.1.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
wine reg add "$state_key" /v Ignore /d "MEL" /f >/dev/null
run_updater /silent
check "ignored product left alone" [ "$(installed_version)" = 1.0.0 ]
check "nothing to do" contains "$updater_log" "No updates necessary"

fresh_machine "file name leading out of the cache"
echo "evil" >"$root/files/evil.txt"
mkdir -p "$root/x/y" && echo "evil" >"$root/x/evil.txt"
catalog_write "$(catalog_update MEVIL 1.1.0 1.0.0 1.0.0 evil.txt EXE | sed 's|<filename>evil.txt|<filename>..\\..\\evil.txt|')"
run_updater /silent
check "nothing written beside the program" [ ! -e "$install/evil.txt" ]
check "nothing written above it" [ ! -e "$WINEPREFIX/drive_c/Program Files/evil.txt" ]
check "no request for it" lacks "$KW_HTTPD_LOG" "evil.txt"

fresh_machine "second copy while the first waits, deliberately told apart from a setup"
cp "$packages/melvaro-1.1.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
wine reg add "$updates_key" /v CatalogURL /d "$server/@delay=4/catalog.xml" /f >/dev/null
run_updater /silent /loga &
first=$!
sleep 2
run_updater /silent /loga
check "second copy reports the first" contains "$updater_log" "Application Melvaro 2012 Updater is already running."
wait $first
check "first copy still updates" [ "$(installed_version)" = 1.1.0 ]

wine msiexec /x "$main" /qn >/dev/null 2>&1
wine msiexec /x "$updater_code" /qn >/dev/null 2>&1
wine reg delete "$updates_key" /f >/dev/null 2>&1
wine reg delete "$state_key" /f >/dev/null 2>&1
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
