#!/usr/bin/env bash
# Runs the benchmarks under Wine beside the bench's HTTP server, which the
# download benchmark fetches from.
# Usage: run-bench.sh BUILD_DIR [case name filter]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build directory}" && pwd)
shift
. "$here/wine-env.sh" "$build"
kw_keep_server_warm
status=0
python3 "$here/../tools/kwhttpd.py" --lifetime 1800 -- \
  wine "$build/tests/bench/kwbench.exe" "$@" || status=$?
wineserver -k || true
exit $status
