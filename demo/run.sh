#!/usr/bin/env bash
# What the system can do so far, run for real under Wine: the shared
# foundation (kwinfo prints the running Windows, the product descriptor, the
# installed folder read from the registry, localized texts, and writes a log),
# and the update catalog as the vendor checks it and as the updater reads it
# from a web server (kwcatalog on demo/catalog.xml).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build directory}" && pwd)
. "$here/scripts/wine-env.sh" "$build"

kwinfo="$build/tools/kwinfo/kwinfo.exe"
kwcatalog="$build/tools/kwcatalog/kwcatalog.exe"
main_product='{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}'
updater_product='{A9D47B20-5C3E-4F18-B6E2-71C8D90F3A5B}'
log='C:\users\Public\kwdemo\KW#DEMO.txt'
setup_key='HKLM\Software\Zentrel\Melvaro 2012\Setup'
# Windows-1252 text (the French table) shown on a UTF-8 terminal.
show() { iconv -f WINDOWS-1252 -t UTF-8 | tr -d '\r'; }

kw_keep_server_warm
trap 'wine reg delete "$setup_key" /f >/dev/null 2>&1 || true; wineserver -k || true' EXIT

echo "== 1. A machine where the product is not installed yet"
wine reg delete "$setup_key" /f >/dev/null 2>&1 || true
wine "$kwinfo" --log "$log" | show

echo
echo "== 2. After setup recorded its folder in the registry"
wine reg add "$setup_key" /v "Program path" /d 'D:\Apps\Melvaro 2012\' /f >/dev/null
wine "$kwinfo" --log "$log" | show | grep '^Installed folder'

echo
echo "== 3. The log file, as written by both runs ($log)"
show < "$(winepath -u "$log")"
rm -f "$(winepath -u "$log")"

echo
echo "== 4. The vendor checks the update catalog before publishing it (demo/catalog.xml)"
wine "$kwcatalog" check "$here/demo/catalog.xml" | show || true

echo
echo "== 5. The updater reads it from the web server: the chain for Melvaro 1.0.0 and updater 1.0.0"
echo "   (product, update, format, version, size, selection count, prerequisites)"
python3 "$here/tools/kwhttpd.py" --root "$here/demo" --lifetime 120 -- bash -c \
  'wine "$0" plan "http://127.0.0.1:$KW_HTTPD_PORT/catalog.xml?Language=E" "$1=1.0.0" "$2=1.0.0"' \
  "$kwcatalog" "$main_product" "$updater_product" | show

echo
echo "== 6. The same catalog for a French user who already has 1.1.0"
wine "$kwcatalog" plan "$here/demo/catalog.xml" --lang F "$main_product=1.1.0" | show

echo
echo "== 7. What the vendor writes in filecrc and filesize for a file"
wine "$kwcatalog" crc "$here/demo/catalog.xml" | show
