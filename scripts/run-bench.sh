#!/usr/bin/env bash
# Runs the benchmarks under Wine beside the bench's HTTP server, which the
# download benchmark fetches from, and prints one table. The baselines that
# are Linux programs are timed here, best of three, and reach kwbench in the
# environment: curl fetching a 64 MiB file from the server
# (KW_BENCH_CURL_SECONDS, the file's name in KW_BENCH_DOWNLOAD_FILE), and
# sha256sum reading a page-cached 256 MiB file (KW_BENCH_SHA256SUM_SECONDS,
# its digest in KW_BENCH_DATA_SHA256, the file in KW_BENCH_DATA_FILE), which
# the CRC-32 benchmark reads too. Under Xvfb, the seconds from starting a
# program to its first window, through the UI driver (best of three): setup
# to its language dialog before the product is installed, the updater to its
# check's progress dialog once the product and the updater are, and the
# product's trivial stand-in program (melvaro.exe) to its window as the
# baseline (KW_BENCH_SETUP_SECONDS, KW_BENCH_UPDATER_SECONDS,
# KW_BENCH_TRIVIAL_SECONDS). The product is removed again at the end.
# Usage: run-bench.sh BUILD_DIR [case name filter]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build directory}" && pwd)
shift

now() { date +%s.%N; }
since() { awk -v a="$(now)" -v b="$1" 'BEGIN { printf "%.3f\n", a - b }'; }
# best SECONDS...: the smallest.
best() { printf '%s\n' "$@" | sort -g | head -n 1; }

if [ -n "${KW_HTTPD_PORT:-}" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  file=download-64m.bin
  head -c $((64 * 1024 * 1024)) /dev/urandom >"$KW_HTTPD_ROOT/$file"
  times=()
  for _ in 1 2 3; do
    times+=("$(curl -sS --noproxy '*' -o "$work/fetched" -w '%{time_total}' "http://127.0.0.1:$KW_HTTPD_PORT/$file")")
  done
  rm -f "$work/fetched"
  export KW_BENCH_CURL_SECONDS=$(best "${times[@]}") KW_BENCH_DOWNLOAD_FILE=$file

  data=$work/data-256m.bin
  head -c $((256 * 1024 * 1024)) /dev/urandom >"$data"
  cat "$data" >/dev/null
  times=()
  for _ in 1 2 3; do
    start=$(now)
    digest=$(sha256sum "$data" | cut -d' ' -f1)
    times+=("$(since "$start")")
  done
  export KW_BENCH_SHA256SUM_SECONDS=$(best "${times[@]}") KW_BENCH_DATA_SHA256=$digest
  export KW_BENCH_DATA_FILE="Z:${data//\//\\}"

  . "$here/../tests/ui/uidriver.sh" "$build"
  main='{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}'
  updater_code='{A9D47B20-5C3E-4F18-B6E2-71C8D90F3A5B}'
  updates_key='HKCU\Software\Zentrel\Melvaro 2012\Updates'
  folder='C:\Program Files\Melvaro 2012'
  # window_seconds IMAGE DRIVER_ARGS... -- PROGRAM ARGS...: best of three
  # starts of the program until the driver finds its window; the program is
  # ended each time. Nothing when the window never shows.
  window_seconds() {
    local image=$1 finder=() times=() start
    shift
    while [ "$1" != -- ]; do finder+=("$1"); shift; done
    shift
    for _ in 1 2 3; do
      start=$(now)
      wine "$@" </dev/null >/dev/null 2>&1 &
      ui_wait "${finder[@]}" --timeout 60000 >/dev/null && times+=("$(since "$start")")
      wine taskkill /F /IM "$image" >/dev/null 2>&1
      wait
    done
    [ ${#times[@]} -eq 3 ] && best "${times[@]}"
  }
  remove_product() {
    wine msiexec /x "$updater_code" /qn >/dev/null 2>&1 || true
    wine msiexec /x "$main" /qn >/dev/null 2>&1 || true
    wine reg delete "$updates_key" /f >/dev/null 2>&1 || true
  }
  remove_product
  export KW_BENCH_SETUP_SECONDS=$(window_seconds setup.exe --title "Select language" -- \
    "$build/demo/medium/setup.exe" /log:"$(winepath -w "$work/setup-log.txt")")
  # The catalog's answer waits, so the check's dialog stays until it is seen.
  wine msiexec /i "$build/demo/packages/melvaro-1.0.0.msi" /qn >/dev/null 2>&1
  wine msiexec /i "$build/demo/packages/updater-1.0.0.msi" /qn >/dev/null 2>&1
  wine reg add "$updates_key" /v CatalogURL /d "http://127.0.0.1:$KW_HTTPD_PORT/@delay=20/catalog.xml" /f >/dev/null 2>&1
  export KW_BENCH_TRIVIAL_SECONDS=$(window_seconds melvaro.exe --title-prefix "Melvaro 2012" --class KwMainStandIn -- \
    "$folder\melvaro.exe")
  export KW_BENCH_UPDATER_SECONDS=$(window_seconds updater.exe --title "Checking for Updates" -- \
    "$folder\updater.exe" /l:1033)
  remove_product

  # The table on the standard output; Wine's own messages, and the live
  # download progress, on the error stream.
  wine "$build/tests/bench/kwbench.exe" "$@"
  exit
fi

. "$here/wine-env.sh" "$build"
kw_keep_server_warm
status=0
python3 "$here/../tools/kwhttpd.py" --lifetime 1800 -- xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$0" "$build" "$@" || status=$?
wineserver -k || true
exit $status
