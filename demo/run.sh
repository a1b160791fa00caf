#!/usr/bin/env bash
# The updater's main job, run for real under Wine in a fresh prefix of its
# own: Melvaro 2012 1.0 and the updater are installed with msiexec, the
# vendor checks a catalog and publishes it on a local web server, and
# `updater /silent` brings the product up to date. Then the vendor publishes
# the next update and the updater takes the product one step further.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build directory}" && pwd)
. "$here/scripts/wine-env.sh" "$build"
export WINEPREFIX="$build/demoprefix"

packages="$build/demo/packages"
kwcatalog="$build/tools/kwcatalog/kwcatalog.exe"
main='{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}'
updates_key='HKCU\Software\Zentrel\Melvaro 2012\Updates'
install="$WINEPREFIX/drive_c/Program Files/Melvaro 2012"
. "$here/scripts/catalog-lib.sh"
# Windows-1252 text with CRLF shown on a UTF-8 terminal.
show() { iconv -f WINDOWS-1252 -t UTF-8 | tr -d '\r'; }
version() { show <"$install/melvaro.txt"; }

echo "== A fresh Windows (Wine prefix $WINEPREFIX)"
rm -rf "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1 || true
wineserver -w
kw_keep_server_warm
trap 'wineserver -k || true' EXIT

echo
echo "== 1. The user installs Melvaro 2012 1.0 and its updater (msiexec /i ... /qn)"
wine msiexec /i "$packages/melvaro-1.0.0.msi" /qn
wine msiexec /i "$packages/updater-1.0.0.msi" /qn
echo "   installed: $(version)"

# The rest runs beside the local web server, which serves a fresh folder.
demo_with_server() {
  root=$KW_HTTPD_ROOT
  server="http://127.0.0.1:$KW_HTTPD_PORT"
  mkdir -p "$root/files"
  wine reg add "$updates_key" /v CatalogURL /d "$server/catalog.xml" /f >/dev/null

  echo
  echo "== 2. The vendor publishes 1.1, after checking the catalog with kwcatalog"
  cp "$packages/melvaro-1.1.0.msi" "$packages/melvaro-1.2.0.msi" "$root/files/"
  catalog_write "$(catalog_update MEL-2012-01 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
  wine "$kwcatalog" check "$root/catalog.xml" | show | sed 's/^/   /'

  echo
  echo "== 3. updater /silent"
  wine 'C:\Program Files\Melvaro 2012\updater.exe' /silent
  echo "   installed: $(version)"

  echo
  echo "== 4. The vendor publishes 1.2 (for 1.1) beside 1.1; updater /silent /loga"
  catalog_write "$(catalog_update MEL-2012-01 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI
                   catalog_update MEL-2012-02 1.2.0 1.1.0 1.1.0 melvaro-1.2.0.msi MSI)"
  wine 'C:\Program Files\Melvaro 2012\updater.exe' /silent /loga
  echo "   installed: $(version)"

  echo
  echo "== 5. What the web server saw"
  sed 's/^/   /' "$KW_HTTPD_LOG"

  # On a screen a person sits at, the same update through the windows.
  if [ -n "${DISPLAY:-}" ] && [ -t 0 ] && [ -z "${KW_UNDER_XVFB:-}" ]; then
    echo
    read -r -p "== 5b. Run the updater's windows on your display (Melvaro goes back to 1.0)? [y/N] " answer
    if [ "$answer" = y ] || [ "$answer" = Y ]; then
      wine msiexec /x "$main" /qn
      wine msiexec /i "$packages/melvaro-1.0.0.msi" /qn
      catalog_write "$(catalog_update MEL-2012-01 1.1.0 1.0.0 1.0.0 melvaro-1.1.0.msi MSI)"
      echo "   Melvaro 1.0 runs; the updater asks it to close before installing 1.1."
      wine 'C:\Program Files\Melvaro 2012\melvaro.exe' &
      wine 'C:\Program Files\Melvaro 2012\updater.exe' /l:1033
      echo "   installed: $(version)"
      read -r -p "   And the minimal window (back to 1.0, then updater /mingui)? [y/N] " answer
      if [ "$answer" = y ] || [ "$answer" = Y ]; then
        wine msiexec /x "$main" /qn
        wine msiexec /i "$packages/melvaro-1.0.0.msi" /qn
        wine 'C:\Program Files\Melvaro 2012\updater.exe' /mingui /l:1033
        echo "   installed: $(version)"
      fi
    fi
  fi
}
export -f demo_with_server catalog_update catalog_write show version
export packages kwcatalog main updates_key install
python3 "$here/tools/kwhttpd.py" --lifetime 1800 -- bash -c demo_with_server

echo
echo "== 6. The updater's log (C:\\Program Files\\Melvaro 2012\\log\\KW#UPDATER.txt)"
show <"$install/log/KW#UPDATER.txt" | sed 's/^/   /'
echo
echo "== 7. The cache after the run (C:\\Program Files\\Melvaro 2012\\updates)"
ls -A "$install/updates" | sed 's/^/   /'
echo "   (empty: every installed file was removed)"

# Setup's wizard, on the person's display when there is one, else on a
# hidden one.
if [ -n "${DISPLAY:-}" ]; then
  bash "$here/demo/setup-demo.sh" "$here" "$build"
else
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$here/demo/setup-demo.sh" "$here" "$build"
fi
