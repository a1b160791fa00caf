#!/usr/bin/env bash
# The updater ended by force (power cut, task manager) at several points of
# a download and as the installation begins, then run again: the next run
# completes the same update and nothing half-fetched is installed or kept
# under a final name.
# Usage: updater_kill_e2e.sh BUILD_DIR SOURCE_DIR (beside tools/kwhttpd.py)
set -uo pipefail
. "$(dirname "$0")/e2e-lib.sh" "$1" "$2"
update=melvaro-1.1.0.msi
cache="$install/updates"
kill_updater() { wine taskkill /F /IM updater.exe >/dev/null 2>&1; wait "$1" 2>/dev/null; }
# The cache holds the update only complete: a final name with other bytes
# would be trusted by mistake if its checks were skipped.
cache_sound() {
  [ ! -e "$cache/$update" ] || cmp -s "$cache/$update" "$packages/$update"
}

wineserver -p 2>/dev/null || true

# About 7 s for the whole file at this rate.
for seconds in 1 3 5; do
  fresh_machine "killed $seconds s into the download, then run again"
  cp "$packages/$update" "$root/files/"
  server="$server/@rate=100000" catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 $update MSI)"
  run_updater /silent &
  pid=$!
  sleep "$seconds"
  kill_updater $pid
  check "nothing installed by the killed run" [ "$(installed_version)" = 1.0.0 ]
  check "no partial file under the final name" cache_sound
  catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 $update MSI)"
  run_updater /silent /loga
  check "the next run installs the update" [ "$(installed_version)" = 1.1.0 ]
  check "the cache emptied after it" [ -z "$(ls -A "$cache" 2>/dev/null)" ]
done
check "a later run took up a cut transfer where it stopped" grep -q "bytes=[1-9]" "$KW_HTTPD_LOG"

fresh_machine "killed as the installation begins, then run again"
cp "$packages/$update" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 $update MSI)"
run_updater /silent &
pid=$!
for _ in $(seq 300); do grep -q "About to install" "$updater_log" 2>/dev/null && break; sleep 0.05; done
kill_updater $pid
check "the killed run had begun installing" contains "$updater_log" "About to install $update"
run_updater /silent /loga
check "the next run leaves 1.1 installed" [ "$(installed_version)" = 1.1.0 ]
check "and the product registered at 1.1" contains <(wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$main" /v DisplayVersion 2>/dev/null) "1.1.0"

finish_machine
