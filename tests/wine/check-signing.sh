#!/usr/bin/env bash
# scripts/sign as a maker uses it, with a throwaway self-signed code-signing
# certificate made here (no timestamp: the tests have no network):
#   check-signing.sh PROGRAM.exe...
# Checks that without a certificate the programs stay byte for byte as built,
# that with one osslsigncode verify accepts each program against that
# certificate, and that signing again replaces the signature.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=1; }

openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=Tessaro test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" \
  -passout pass:prova >/dev/null 2>&1 || { echo "FAILED: openssl could not make a certificate"; exit 1; }
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passin pass:prova \
  -passout pass:prova -out "$work/cert.p12" >/dev/null 2>&1 || { echo "FAILED: no PKCS#12 file"; exit 1; }

for program in "$@"; do
  copy=$work/$(basename "$program")
  cp "$program" "$copy"
  env -u TESSARO_SIGN_PKCS12 "$root/scripts/sign" "$copy" || fail "sign without a certificate failed"
  cmp -s "$program" "$copy" || fail "$copy changed without a certificate"
  osslsigncode verify -CAfile "$work/cert.pem" -in "$copy" >/dev/null 2>&1 &&
    fail "verify accepts the unsigned $copy"
  for round in first again; do
    TESSARO_SIGN_PKCS12=$work/cert.p12 TESSARO_SIGN_PASSWORD=prova "$root/scripts/sign" "$copy" ||
      fail "signing $copy ($round) failed"
    if report=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$copy" 2>&1) &&
       grep -q 'Signature verification: ok' <<<"$report" &&
       grep -q 'Number of verified signatures: 1$' <<<"$report"; then
      echo "$(basename "$copy"): signed ($round), verified, one signature"
    else
      fail "verify refuses $copy ($round):"; echo "$report" | tail -n 15
    fi
  done
done
exit $failures
