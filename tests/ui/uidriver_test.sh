#!/usr/bin/env bash
# The window driver on real windows: a check box list dialog of our own is
# read, checked and confirmed, also in a list that draws its own cells; the updater's usage box is read and answered
# in both languages. A failed check keeps a screenshot beside the build.
# Usage: uidriver_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
. "$source_dir/scripts/wine-env.sh" "$build"
. "$source_dir/tests/ui/uidriver.sh" "$build"
checklist="$build/tests/ui/kwchecklist.exe"
updater="$build/updater/updater.exe"
setup_key='HKLM\Software\Zentrel\Melvaro 2012\Setup'
failure_dir="$build/tests/ui/failures"
. "$source_dir/tests/ui/checks.sh"
explain_failure() { echo "--- driver output:"; printf '%s\n' "$output" | sed 's/^/    /'; }
has_line() { printf '%s\n' "$output" | grep -qxF -- "$1"; }

wineserver -p 2>/dev/null || true

scenario="check box list"
wine "$checklist" </dev/null >/dev/null 2>&1 &
pid=$!
output=$(ui_wait --title Checklist --timeout 20000)
check "the dialog shows" [ -n "$output" ]
output=$(ui_texts --title Checklist)
check "the OK button is listed, enabled and visible" has_line $'1\tButton\t&OK\t1\t1'
output=$(ui_list --title Checklist --id 101)
check "row 0 reads checked with its columns" has_line $'0\ton\tMelvaro 2012\t12 MB\t0\t-'
check "row 2 reads unchecked" has_line $'2\toff\tHelp\t5 MB\t0\t-'
output=$(ui_check --title Checklist --id 101 --row 2 2>&1)
check "row 2 checked with a click" [ $? -eq 0 ]
output=$(ui_check --title Checklist --id 101 --row 0 --off 2>&1)
check "row 0 unchecked with a click" [ $? -eq 0 ]
output=$(ui_list --title Checklist --id 101)
check "the list shows the new states" has_line $'0\toff\tMelvaro 2012\t12 MB\t0\t-'
check "the list shows row 2 checked" has_line $'2\ton\tHelp\t5 MB\t0\t-'
output=$(ui_list --title Checklist --id 102)
check "cells of our own list read with each column's image" has_line $'0\toff\tSamples\t\t\t-\t-\t1'
output=$(ui_check --title Checklist --id 102 --row 0 --column 1 2>&1)
check "a box of our own list checked with a click in its cell" [ $? -eq 0 ]
output=$(ui_check --title Checklist --id 102 --row 1 --column 1 --off 2>&1)
check "a box of our own list unchecked with a click in its cell" [ $? -eq 0 ]
output=$(ui_list --title Checklist --id 102)
check "our own list shows the new states" has_line $'0\ton\tSamples\t\t\t-\t-\t1'
check "our own list shows row 1 unchecked" has_line $'1\toff\tHelp\t\t\t-\t-\t2'
output=$(ui_click --title Checklist --text OK 2>&1)
check "OK pressed" [ $? -eq 0 ]
wait_end $pid 20
check "the program saw only row 2 checked" [ "$output" = 4 ]

scenario="a missing window"
output=$(ui_wait --title "No such window" --timeout 500 2>&1)
check "waiting for it fails" [ $? -ne 0 ]

# The updater needs the product's folder before it reads its command line.
scenario="updater usage box"
kept_path=$(wine reg query "$setup_key" /v "Program path" 2>/dev/null | tr -d '\r' | grep -c "Program path")
if [ "$kept_path" = 0 ]; then
  mkdir -p "$WINEPREFIX/drive_c/kwuidriver-product"
  wine reg add "$setup_key" /v "Program path" /d 'C:\kwuidriver-product' /f >/dev/null 2>&1
fi
for language in fr en; do
  scenario="updater usage box, $language"
  if [ $language = fr ]; then
    wine "$updater" /bogus </dev/null >/dev/null 2>&1 &
    expected='Syntaxe : updater [/auto]'
  else
    wine "$updater" /l:1033 /bogus </dev/null >/dev/null 2>&1 &
    expected='Usage: updater [/auto]'
  fi
  pid=$!
  output=$(ui_answer --title-prefix Melvaro --button OK --timeout 20000)
  check "answered OK" [ $? -eq 0 ]
  check "the box text read" grep -qF -- "$expected" <<<"$output"
  wait_end $pid 20
  check "the updater ended once answered" [ "$output" != timeout ]
done
if [ "$kept_path" = 0 ]; then
  wine reg delete "$setup_key" /v "Program path" /f >/dev/null 2>&1
  rm -rf "$WINEPREFIX/drive_c/kwuidriver-product"
fi

printf "uidriver: "
report_checks
