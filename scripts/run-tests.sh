#!/usr/bin/env bash
# Runs the whole suite: every test program through Wine, inside one virtual
# X display so GUI tests have a screen, with the prefix's server kept warm.
# Usage: run-tests.sh BUILD_DIR [ctest arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build directory}" && pwd)
shift

if [ -z "${KW_UNDER_XVFB:-}" ]; then
  KW_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$here/run-tests.sh" "$build" "$@"
fi

. "$here/wine-env.sh" "$build"
kw_keep_server_warm
status=0
(cd "$build" && ctest --output-on-failure "$@") || status=$?
wineserver -k || true
exit $status
