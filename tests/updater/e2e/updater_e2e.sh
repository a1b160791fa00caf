#!/usr/bin/env bash
# Runs the real updater.exe under Wine as a person's machine would: the
# product 1.0 and the updater are installed with msiexec, the catalog and the
# update files come from the bench's HTTP server (KW_HTTPD_PORT, KW_HTTPD_ROOT,
# KW_HTTPD_LOG from tools/kwhttpd.py), and each scenario checks what the run
# left behind: installed version, requests, log, registry, cache.
# Usage: updater_e2e.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/e2e-lib.sh" "$1" "$2"

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

# Signed catalogs: the machine carries the vendor's key through the
# administrator's registry value.
keys=$(mktemp -d)
trap 'rm -rf "$keys"' EXIT
signing_key=$(wine "$kwcatalog" keygen "$keys/vendor.key" | tr -d '\r')
carry_key() { wine reg add "$machine_updates_key" /v CatalogKeys /d "$signing_key" /f >/dev/null; }
# root_attributes TEXT, file_sha256 FILE SHA, sign_catalog: edit and sign $root/catalog.xml.
root_attributes() { sed -i "s|<updates |<updates $1 |" "$root/catalog.xml"; }
file_sha256() { sed -i "s|<filename>$1</filename>|&<filesha256>$2</filesha256>|" "$root/catalog.xml"; }
sha256_of() { wine "$kwcatalog" crc "$root/files/$1" | tr -d '\r' | awk '{ print $3 }'; }
sign_catalog() { check "catalog signed" wine "$kwcatalog" sign "$root/catalog.xml" "$keys/vendor.key" >/dev/null; }

fresh_machine "signed catalog installed, then an older serial refused"
carry_key
cp "$packages/melvaro-1.1.0.msi" "$packages/melvaro-1.2.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
root_attributes 'serial="5" expires="2099-12-31"'
file_sha256 melvaro-1.1.0.msi "$(sha256_of melvaro-1.1.0.msi)"
sign_catalog
run_updater /silent
check "installed 1.1 from the signed catalog" [ "$(installed_version)" = 1.1.0 ]
check "signature fetched beside the catalog with its query" \
  contains "$KW_HTTPD_LOG" "GET /catalog.xml.sig?CompanyName=2012-&Year=2012&Language=F "
check "verification logged" contains "$updater_log" "Catalog signature verified, serial 5"
check "serial kept" [ "$(reg_value "$updates_key" CatalogSerial)" = 5 ]
catalog_write "$(catalog_update M12 1.2.0 1.1.0 1.1.0 melvaro-1.2.0.msi MSI)"
root_attributes 'serial="4"'
sign_catalog
: >"$KW_HTTPD_LOG"
run_updater /silent
check "older catalog installs nothing" [ "$(installed_version)" = 1.1.0 ]
check "older serial named" contains "$updater_log" "Catalog refused: the serial 4 is lower than 5"
check "older catalog's file not fetched" lacks "$KW_HTTPD_LOG" "melvaro-1.2.0.msi"
check "kept serial unchanged" [ "$(reg_value "$updates_key" CatalogSerial)" = 5 ]

fresh_machine "tampered signed catalog refused"
carry_key
cp "$packages/melvaro-1.1.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
sign_catalog
sed -i 's|servername="bench"|servername="bench2"|' "$root/catalog.xml"
run_updater /silent
check "tampered catalog installs nothing" [ "$(installed_version)" = 1.0.0 ]
check "signature refusal named" contains "$updater_log" "does not match the catalog with any of the product's keys"
check "refused as an invalid catalog" contains "$updater_log" "Catalog is corrupted or invalid"
check "nothing downloaded" lacks "$KW_HTTPD_LOG" "/files/"
check "no serial kept" [ -z "$(reg_value "$updates_key" CatalogSerial)" ]

fresh_machine "file with the catalog's CRC but another SHA-256"
carry_key
cp "$packages/melvaro-1.1.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
file_sha256 melvaro-1.1.0.msi "$(printf '0%.0s' {1..64})"
sign_catalog
run_updater /silent
check "mismatched file installs nothing" [ "$(installed_version)" = 1.0.0 ]
check "file fetched" contains "$KW_HTTPD_LOG" "GET /files/melvaro-1.1.0.msi "
check "mismatch logged" contains "$updater_log" "File melvaro-1.1.0.msi has the catalog's CRC but not its SHA-256"
check "file counted as not found" contains "$updater_log" "Unable to locate file melvaro-1.1.0.msi"

finish_machine
