#!/usr/bin/env bash
# Builds the product medium: setup.ini, the Melvaro 2012 package with its
# main program and readme, the samples package, and the stand-in installer
# of the product's prerequisite. Each package carries the KWSetupProperty
# table with the name setup shows for it in English and French. Also writes
# the missing-prerequisite variant's setup.ini in a folder beside the medium,
# and a three-package medium beside it too: the product, a tutorials package
# that takes about eight seconds to install, and a plugins package.
# Usage: build-medium.sh OUT_DIR VARIANT_DIR THREE_DIR MELVARO_EXE KWSTUB_EXE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
variant=$(mkdir -p "$2" && cd "$2" && pwd)
three=$(mkdir -p "$3" && cd "$3" && pwd)
melvaro=$4
stub=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=1.0.0

crlf() { sed 's/\r$//; s/$/\r/' "$1"; }

# The KWSetupProperty table: Property, English Value, French ValueF.
setup_property_table() {
  printf 'Property\tValue\tValueF\r\ns72\tl0\tl0\r\nKWSetupProperty\tProperty\r\n'
  printf 'SetupTypeName\t%s\t%s\r\n' "$1" "$2"
}

cp "$here"/*.wxs "$work/"
cd "$work"
printf 'Melvaro 2012 version %s\r\n' "$version" >melvaro.txt
printf 'Melvaro 2012\r\n\r\nThank you for installing Melvaro 2012.\r\nMerci d'"'"'avoir install\xe9 Melvaro 2012.\r\n' >lisezmoi.txt
printf 'Melvaro 2012 sample document\r\n' >sample.txt
printf 'Melvaro 2012 tutorial\r\n' >tutorial.txt
printf 'Melvaro 2012 plug-in\r\n' >plugin.txt
cp "$melvaro" melvaro.exe
cp "$stub" kwstub.exe

# package NAME PACKAGE_CODE_SUFFIX "TITLE" "ENGLISH NAME" "FRENCH NAME" [WIXL OPTIONS]:
# NAME.msi from NAME.wxs, with its setup type names and summary.
package() {
  local name=$1 code=$2 title=$3 english=$4 french=$5
  shift 5
  wixl -a x64 -o "$name.msi" -D "Version=$version" "$@" "$name.wxs"
  setup_property_table "$english" "$french" >KWSetupProperty.idt
  msibuild "$name.msi" -i KWSetupProperty.idt
  msibuild "$name.msi" -s "$title" "Zentrel" "x64;1033" "{4F1A2B3C-0000-4000-8000-00000000$code}"
}
package melvaro-setup A100 "Melvaro 2012" "Melvaro 2012 Main Program" "Programme principal Melvaro 2012"
package melvaro-samples A200 "Melvaro 2012 Samples" "Melvaro 2012 Samples" "Exemples Melvaro 2012"
package melvaro-tutorials A300 "Melvaro 2012 Tutorials" "Melvaro 2012 Tutorials" "Didacticiels Melvaro 2012" \
  -D "Wait=8000"
package melvaro-plugins A400 "Melvaro 2012 Plugins" "Melvaro 2012 Plugins" "Modules Melvaro 2012"

mv melvaro-setup.msi melvaro-samples.msi "$out/"
mv melvaro-tutorials.msi melvaro-plugins.msi "$three/"
cp "$stub" "$out/kwstub.exe"
crlf "$here/setup.ini" >"$out/setup.ini"
crlf "$here/missing-prerequisite.ini" >"$variant/setup.ini"
crlf "$here/three-packages.ini" >"$three/setup.ini"
