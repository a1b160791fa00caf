#!/usr/bin/env bash
# Runs the vendor's catalog tool under Wine on the test catalogs, as a vendor
# would, and compares what it prints. Runs beside the bench's HTTP server
# (KW_HTTPD_PORT, KW_HTTPD_ROOT and KW_HTTPD_LOG come from tools/kwhttpd.py).
# Usage: kwcatalog_test.sh KWCATALOG_EXE DATA_DIR BUILD_DIR
set -uo pipefail
exe=$1
data=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../scripts/wine-env.sh" "$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
main='{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}'
updater='{A9D47B20-5C3E-4F18-B6E2-71C8D90F3A5B}'
dep='{3B0C2D14-7E65-4A98-8F21-C4D5E6F70811}'
ign='{5D7E9F01-2A3B-4C4D-9E5F-60718293A4B5}'
sources='sources: \\server\share\ HTTP://Mirror.example.com/a/ http://dl.example.com/upd/ HTTPS://secure.example.com/upd/'

# A Unix path as Wine sees it.
winpath() {
  local path=${1//\//\\}
  echo "Z:$path"
}

fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# run NAME EXIT_CODE ARGS...: the tool's output, with tabs shown as "|", in
# $work/NAME.out.
run() {
  local name=$1 expected=$2 status=0
  shift 2
  wine "$exe" "$@" </dev/null >"$work/$name.raw" 2>"$work/$name.err" || status=$?
  tr -d '\r' <"$work/$name.raw" | tr '\t' '|' >"$work/$name.out"
  [ "$expected" = any ] || [ "$status" = "$expected" ] || fail "$name: exit code $status, expected $expected"
}

# expect NAME LINE...: the output holds exactly these lines.
expect() {
  local name=$1
  shift
  printf '%s\n' "$@" | diff -u - "$work/$name.out" || fail "$name: output differs"
}

plan=$(winpath "$data/plan.xml")
french_status=$(printf 'Le serveur de mises \340 jour est en maintenance.')

run check-valid 0 check "$plan"
expect check-valid \
  'valid: server name "bench"' \
  "dropped: product $main, update 4: no id" \
  "dropped: product $main, update 5 \"mzip\": unknown format (MSP, MSI, FMC, UPD or EXE)" \
  "dropped: product $main, update 6 \"mbad\": inconsistent versions (needs targetversionmin <= targetversionmax < version)" \
  "dropped: product $main, update 7 \"mpath\": unsafe file name (needs a plain name: no path, drive, stream, wildcard, control character or device name, not ending in a dot or space)" \
  'sources in the order tried:' \
  '  0 folder \\server\share\' \
  '  1 http HTTP://Mirror.example.com/a/' \
  '  2 http http://dl.example.com/upd/' \
  '  3 http HTTPS://secure.example.com/upd/'

sed 's/appname="Melvaro 2012"/appname="melvaro 2012"/' "$data/plan.xml" >"$work/wrong-appname.xml"
run check-appname 1 check "$(winpath "$work/wrong-appname.xml")"
sed -i '2,$d' "$work/check-appname.out"
expect check-appname 'invalid: "appname" is "melvaro 2012", expected "Melvaro 2012"'

run check-status 1 check --lang F "$(winpath "$data/status.xml")"
expect check-status "invalid: server status 503: $french_status" 'sources in the order tried: none'

run check-missing 1 check "$(winpath "$work/missing.xml")"
expect check-missing 'invalid: the document cannot be read: File not found.' 'sources in the order tried: none'

# Installed: the dependent product missing, main and updater at 1.00.0000,
# the ignored product missing. The main product's patch chain beats its
# full package (3000 bytes against 3500).
run plan-all 0 plan "$plan" --ignore IGN --ignore OTHER --main "$main" "$dep=0" "$main=1.0.0" "$updater=1.0" "$ign=0"
expect plan-all \
  "$dep|x1|EXE|1.01.0000|4000|1|m1" \
  "$main|m1|MSP|1.01.0000|1000|5|-" \
  "$main|m2|MSP|1.02.0000|2000|2|m1" \
  "$updater|u1|UPD|1.00.0001|300|1|m2" \
  "$sources"

run plan-status-fr 0 plan "$(winpath "$data/status.xml")" --lang F "$main=1.0"
expect plan-status-fr "STATUS 503 $french_status"
run plan-invalid 0 plan "$(winpath "$work/wrong-appname.xml")" "$main=1.0"
expect plan-invalid 'INVALID'

# The catalog as the update check asks for it.
cp "$data/plan.xml" "$KW_HTTPD_ROOT/qrzupd.asp"
query='qrzupd.asp?CompanyName=2012-&Year=2012&Language=F'
# The first product, at 1.01.0000, is the main product by default: x1 needs
# m2, whose range holds 1.01.
run http 0 plan "http://127.0.0.1:$KW_HTTPD_PORT/$query" "$main=1.1" "$dep=0"
expect http "$main|m2|MSP|1.02.0000|2000|2|-" "$dep|x1|EXE|1.01.0000|4000|1|m2" "$sources"
grep -qF "GET /$query " "$KW_HTTPD_LOG" || fail "http: the request line with its query string is not in the server's log"

# Hostile catalogs are refused with their reason.
sed 's/<updates /<!DOCTYPE updates [<!ENTITY a "aaaa">]><updates /' "$data/plan.xml" >"$work/doctype.xml"
run check-doctype 1 check "$(winpath "$work/doctype.xml")"
expect check-doctype 'invalid: the document cannot be read: a DOCTYPE is not allowed in a catalog' \
  'sources in the order tried: none'
run check-404 1 check "http://127.0.0.1:$KW_HTTPD_PORT/@status=404/@errorbody/qrzupd.asp"
expect check-404 'invalid: the document cannot be read: the server answered with HTTP status 404' \
  'sources in the order tried: none'
# A text of ten million characters: whatever the parser makes of it, a
# refusal names its reason.
python3 -c 'import sys; sys.stdout.write(open(sys.argv[1]).read().replace("</updates>", "<note>" + "x" * 10000000 + "</note></updates>"))' \
  "$data/plan.xml" >"$work/long-text.xml"
run check-long-text any check "$(winpath "$work/long-text.xml")"
head -1 "$work/check-long-text.out" | grep -Eq '^(valid: |invalid: .+)' || fail "check-long-text: $(head -1 "$work/check-long-text.out")"

printf '123456789' >"$work/nine.txt"
: >"$work/empty.bin"
nine=$(winpath "$work/nine.txt")
empty=$(winpath "$work/empty.bin")
run crc 0 crc "$nine" "$empty"
sha_nine=15e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225
sha_empty=e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855
expect crc "cbf43926 9 $sha_nine $nine" "00000000 0 $sha_empty $empty"
run crc-missing 1 crc "$(winpath "$work/missing.bin")" "$nine"
expect crc-missing "cbf43926 9 $sha_nine $nine"
[ -s "$work/crc-missing.err" ] || fail "crc-missing: no error message"

# Signing needs no carried key; verifying says plainly that there is none.
run keygen 0 keygen "$(winpath "$work/vendor.key")"
grep -Eq '^ecdsa-p256:[0-9a-f]{128}$' "$work/keygen.out" || fail "keygen: $(cat "$work/keygen.out")"
run keygen-again 1 keygen "$(winpath "$work/vendor.key")"
cp "$data/plan.xml" "$work/signed.xml"
run sign 0 sign "$(winpath "$work/signed.xml")" "$(winpath "$work/vendor.key")"
grep -Eq '^ecdsa-p256:[0-9a-f]{128}$' <(tr -d '\r' <"$work/signed.xml.sig") || fail "sign: no signature beside the catalog"
run verify-no-key 1 verify "$plan"
expect verify-no-key "refused: the product carries no catalog key, so the updater takes catalogs unsigned"

[ "$failures" = 0 ] && echo "kwcatalog: all checks passed"
exit $((failures > 0))
