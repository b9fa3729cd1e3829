#!/usr/bin/env bash
# Expects each FILE to carry a signature that verifies against the throwaway
# authority in folder DIR (ca.pem), made by the signer there, and that is
# refused against another authority (other-ca.pem): a check that passed
# whatever the authority would prove nothing.
#   expect-signed.sh DIR FILE...
set -uo pipefail
dir=$1
shift
status=0
for file; do
  name=${file##*/}
  if ! out=$(osslsigncode verify -CAfile "$dir/ca.pem" -in "$file" 2>&1); then
    echo "FAIL: $name does not verify against the throwaway authority:"
    grep -iE 'error|fail|no signature' <<<"$out" | head -n 5
    status=1
  elif ! grep -q 'Subject: /CN=Tremblix throwaway signer' <<<"$out"; then
    echo "FAIL: $name is not signed by the throwaway signer"
    status=1
  elif osslsigncode verify -CAfile "$dir/other-ca.pem" -in "$file" >/dev/null 2>&1; then
    echo "FAIL: $name verifies against another authority too"
    status=1
  else
    echo "$name: signed, verified against the throwaway authority, refused against another"
  fi
done
exit $status
