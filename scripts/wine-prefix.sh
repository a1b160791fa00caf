#!/usr/bin/env bash
# Creates the build tree's private Wine prefix once; later calls only check it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "${1:?build directory}"
. "$here/wine-env.sh" "$1"
if [ -f "$WINEPREFIX/.kw-ready" ]; then
  exit 0
fi
echo "creating Wine prefix $WINEPREFIX"
rm -rf "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1 || true
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot failed to create $WINEPREFIX" >&2; exit 1; }
touch "$WINEPREFIX/.kw-ready"
