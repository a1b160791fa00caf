#!/usr/bin/env bash
# Creates the build tree's private Wine prefix once, and makes sure on every
# call that it carries the bench's settings (also a prefix made before a
# setting was added gets it).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "${1:?build directory}"
. "$here/wine-env.sh" "$1"
if [ ! -f "$WINEPREFIX/.kw-ready" ]; then
  echo "creating Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot failed to create $WINEPREFIX" >&2; exit 1; }
  touch "$WINEPREFIX/.kw-ready"
fi

# A crashing program must end at once with its exit code, not wait minutes
# for someone to close Wine's crash dialog: the debugger Wine starts on a
# crash only prints the backtrace.
if ! grep -q '^"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  grep -q '^"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" ||
    { echo "could not turn off the crash dialog in $WINEPREFIX" >&2; exit 1; }
fi
