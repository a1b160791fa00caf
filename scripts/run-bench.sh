#!/usr/bin/env bash
# Runs the benchmarks under Wine beside the bench's HTTP server, which the
# download benchmark fetches from. Beside the server, this script first
# serves a 64 MiB file and times curl fetching it into a file (best of three):
# curl is a Linux program, so its seconds reach kwbench in
# KW_BENCH_CURL_SECONDS, with the file's name in KW_BENCH_DOWNLOAD_FILE.
# Usage: run-bench.sh BUILD_DIR [case name filter]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build directory}" && pwd)
shift

if [ -n "${KW_HTTPD_PORT:-}" ]; then
  file=download-64m.bin
  head -c $((64 * 1024 * 1024)) /dev/urandom >"$KW_HTTPD_ROOT/$file"
  fetched=$(mktemp)
  trap 'rm -f "$fetched"' EXIT
  best=
  for _ in 1 2 3; do
    seconds=$(curl -sS --noproxy '*' -o "$fetched" -w '%{time_total}' "http://127.0.0.1:$KW_HTTPD_PORT/$file")
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$seconds
    fi
  done
  export KW_BENCH_CURL_SECONDS=$best KW_BENCH_DOWNLOAD_FILE=$file
  wine "$build/tests/bench/kwbench.exe" "$@"
  exit
fi

. "$here/wine-env.sh" "$build"
kw_keep_server_warm
status=0
python3 "$here/../tools/kwhttpd.py" --lifetime 1800 -- bash "$0" "$build" "$@" || status=$?
wineserver -k || true
exit $status
