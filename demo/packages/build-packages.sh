#!/usr/bin/env bash
# Builds the demo's packages: Melvaro 2012 1.0.0, 1.1.0 and 1.2.0 (one
# product, each a minor upgrade of the one before) and the updater's own
# product 1.0.0 carrying the given updater.exe. Each product version installs
# the main program MAIN_DIR/VERSION/melvaro.exe.
# Usage: build-packages.sh OUT_DIR UPDATER_EXE MAIN_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
updater=$2
main_dir=$(cd "$3" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here"/*.wxs "$work/"
cd "$work"
codes=( [0]="{4F1A2B3C-0000-4000-8000-000000000100}" [1]="{4F1A2B3C-0000-4000-8000-000000000110}"
        [2]="{4F1A2B3C-0000-4000-8000-000000000120}" )
i=0
for version in 1.0.0 1.1.0 1.2.0; do
  printf 'Melvaro 2012 version %s\r\n' "$version" >melvaro.txt
  cp "$main_dir/$version/melvaro.exe" melvaro.exe
  wixl -a x64 -o "melvaro-$version.msi" -D "Version=$version" melvaro.wxs
  # A fixed package code per version: the engine tells the packages apart by it.
  msibuild "melvaro-$version.msi" -s "Melvaro 2012" "Zentrel" "x64;1033" "${codes[$i]}"
  mv "melvaro-$version.msi" "$out/"
  i=$((i + 1))
done
cp "$updater" updater.exe
wixl -a x64 -o updater-1.0.0.msi -D "Version=1.0.0" updater.wxs
msibuild updater-1.0.0.msi -s "Melvaro 2012 Updater" "Zentrel" "x64;1033" "{4F1A2B3C-0000-4000-8000-0000000F0100}"
mv updater-1.0.0.msi "$out/"
