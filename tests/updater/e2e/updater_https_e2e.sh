#!/usr/bin/env bash
# The updater over HTTPS with the certificate checked: the bench's server
# speaks TLS with a certificate from a test root that the machine is made to
# trust, and a second server shows a certificate from a root nobody trusts.
# Run beside tools/kwhttpd.py --tls (see tests/updater/CMakeLists.txt).
# Usage: updater_https_e2e.sh BUILD_DIR SOURCE_DIR CERT_DIR
set -uo pipefail
. "$(dirname "$0")/e2e-lib.sh" "$1" "$2"
certs=$3
kwtrust="$build/tools/kwtrust/kwtrust.exe"
server="https://localhost:$KW_HTTPD_PORT"

# The stranger: same files, a certificate the machine cannot trace to a root
# it trusts.
stranger_port="$root/stranger.port"
python3 "$source_dir/tools/kwhttpd.py" --root "$root" --tls "$certs/stranger.pem" "$certs/stranger.key" \
  --port-file "$stranger_port" --lifetime 300 >/dev/null 2>&1 &
stranger_pid=$!
for _ in $(seq 50); do [ -s "$stranger_port" ] && break; sleep 0.1; done
stranger="https://localhost:$(cat "$stranger_port")"
wine "$kwtrust" add "$(winepath -w "$certs/root.pem" 2>/dev/null)" >/dev/null 2>&1
trap 'wine "$kwtrust" remove "$(winepath -w "$certs/root.pem" 2>/dev/null)" >/dev/null 2>&1; kill $stranger_pid 2>/dev/null' EXIT

wineserver -p 2>/dev/null || true

fresh_machine "catalog and update over HTTPS from a trusted server"
wine reg add "$updates_key" /v CatalogURL /d "$server/catalog.xml" /f >/dev/null
cp "$packages/melvaro-1.1.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
run_updater /silent
check "installed 1.1" [ "$(installed_version)" = 1.1.0 ]
check "catalog fetched over TLS" contains "$KW_HTTPD_LOG" "GET /catalog.xml"
check "update fetched over TLS" contains "$KW_HTTPD_LOG" "GET /files/melvaro-1.1.0.msi "

fresh_machine "a catalog server whose certificate no trusted root vouches for"
wine reg add "$updates_key" /v CatalogURL /d "$stranger/catalog.xml" /f >/dev/null
cp "$packages/melvaro-1.1.0.msi" "$root/files/"
catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
run_updater /silent
check "nothing installed" [ "$(installed_version)" = 1.0.0 ]
check "the refusal logged" contains "$updater_log" "certificate"

fresh_machine "update files on a server nobody vouches for"
wine reg add "$updates_key" /v CatalogURL /d "$server/catalog.xml" /f >/dev/null
cp "$packages/melvaro-1.1.0.msi" "$root/files/"
server=$stranger catalog_write "$(catalog_update M11 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
run_updater /silent
check "nothing installed" [ "$(installed_version)" = 1.0.0 ]
check "nothing kept in the cache" [ ! -e "$install/updates/melvaro-1.1.0.msi" ]

finish_machine
