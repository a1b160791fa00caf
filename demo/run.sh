#!/usr/bin/env bash
# What the system can do so far: the shared foundation, run for real under
# Wine. kwinfo prints the running Windows, the product descriptor, the
# installed folder read from the registry, localized texts, and writes a log.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build directory}" && pwd)
. "$here/scripts/wine-env.sh" "$build"

kwinfo="$build/tools/kwinfo/kwinfo.exe"
log='C:\users\Public\kwdemo\KW#DEMO.txt'
setup_key='HKLM\Software\Zentrel\Melvaro 2012\Setup'
# Windows-1252 text (the French table) shown on a UTF-8 terminal.
show() { iconv -f WINDOWS-1252 -t UTF-8 | tr -d '\r'; }

wineserver -p
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
