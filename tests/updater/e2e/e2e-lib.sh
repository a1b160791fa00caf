# Sourced by the updater's end-to-end scripts: a machine with the product
# installed by msiexec, the bench's HTTP server (KW_HTTPD_PORT, KW_HTTPD_ROOT,
# KW_HTTPD_LOG from tools/kwhttpd.py) as the vendor's, and checks that report
# what the run left behind. A failed check prints the updater's and the
# server's logs once per scenario, and the screen when there is one.
# Usage: . e2e-lib.sh BUILD_DIR SOURCE_DIR
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
# Where an administrator adds catalog keys; scenarios that sign put theirs
# here, and every other scenario runs without one.
machine_updates_key='HKLM\Software\Zentrel\Melvaro 2012\Updates'
install="$WINEPREFIX/drive_c/Program Files/Melvaro 2012"
updater_exe='C:\Program Files\Melvaro 2012\updater.exe'
failure_dir="$build/tests/updater/failures"
. "$source_dir/tests/ui/checks.sh"
explain_failure() {
  echo "--- updater log:"; tr -d '\r' <"$updater_log" 2>/dev/null | sed 's/^/    /'
  echo "--- server log:"; sed 's/^/    /' "$KW_HTTPD_LOG"
}
contains() { grep -qF -- "$2" "$1" 2>/dev/null; }
lacks() { ! grep -qF -- "$2" "$1" 2>/dev/null; }
installed_version() { tr -d '\r' <"$install/melvaro.txt" 2>/dev/null | sed 's/^Melvaro 2012 version //'; }
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { print $3 }'; }
updater_log="$install/log/KW#UPDATER.txt"

. "$source_dir/scripts/catalog-lib.sh"

# A machine with Melvaro 1.0 and the updater installed, the catalog URL
# pointing at the bench, and nothing left of an earlier scenario. The first
# one also removes an updater an interrupted run left, which msiexec would
# keep instead of the one just built.
fresh_machine() {
  scenario=$1
  if [ -z "${machine_used:-}" ]; then
    wine msiexec /x "$updater_code" /qn >/dev/null 2>&1
    machine_used=1
  fi
  # A product or an updater still running from the scenario before would
  # answer for it, or hold the updater's lock.
  wine taskkill /F /IM melvaro.exe >/dev/null 2>&1
  wine taskkill /F /IM updater.exe >/dev/null 2>&1
  wine msiexec /x "$main" /qn >/dev/null 2>&1
  wine msiexec /i "$packages/melvaro-1.0.0.msi" /qn >/dev/null 2>&1
  wine msiexec /i "$packages/updater-1.0.0.msi" /qn >/dev/null 2>&1
  wine reg delete "$updates_key" /f >/dev/null 2>&1
  wine reg delete "$state_key" /f >/dev/null 2>&1
  wine reg delete "$machine_updates_key" /v CatalogKeys /f >/dev/null 2>&1
  wine reg add "$updates_key" /v CatalogURL /d "$server/catalog.xml" /f >/dev/null
  rm -rf "$install/log" "$install/updates" "$root/files"
  mkdir -p "$root/files"
  : >"$KW_HTTPD_LOG"
}
run_updater() { wine "$updater_exe" "$@" </dev/null >/dev/null 2>&1; }


# Leaves the machine as the scripts found it and reports the counts; the
# script's status.
finish_machine() {
  wine msiexec /x "$main" /qn >/dev/null 2>&1
  wine msiexec /x "$updater_code" /qn >/dev/null 2>&1
  wine reg delete "$updates_key" /f >/dev/null 2>&1
  wine reg delete "$state_key" /f >/dev/null 2>&1
  wine reg delete "$machine_updates_key" /v CatalogKeys /f >/dev/null 2>&1
  report_checks
}
