#!/usr/bin/env bash
# Certificates for the HTTPS tests, made fresh in a folder:
#   root.pem             a test root the test makes the machine trust
#   server.pem/.key      localhost's certificate, issued by that root
#   stranger.pem/.key    localhost's certificate from a root nobody trusts
# Usage: make-test-certs.sh DIR
set -euo pipefail
dir=${1:?folder}
mkdir -p "$dir"
cd "$dir"
ec="-newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes"
extensions="subjectAltName=DNS:localhost
basicConstraints=CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=serverAuth"

# root NAME: a self-signed root; leaf ROOT NAME: localhost's certificate.
root() {
  openssl req -x509 $ec -keyout "$1.key" -out "$1.pem" -days 30 -subj "/CN=$2" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
}
leaf() {
  openssl req $ec -keyout "$2.key" -out "$2.csr" -subj "/CN=localhost" 2>/dev/null
  openssl x509 -req -in "$2.csr" -CA "$1.pem" -CAkey "$1.key" -CAcreateserial -out "$2.pem" -days 30 \
    -extfile <(echo "$extensions") 2>/dev/null
  rm -f "$2.csr"
}
root root "Melvaro Test Root"
leaf root server
root unknown "Unknown Test Root"
leaf unknown stranger
