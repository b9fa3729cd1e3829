#!/usr/bin/env bash
# Signs each FILE in place (Authenticode, osslsigncode) with the certificate
# the maintainer names:
#   TREMBLIX_SIGN_PKCS12          the certificate, its chain and its key (PKCS#12)
#   TREMBLIX_SIGN_PASSWORD_FILE   a file holding that file's password
#   TREMBLIX_SIGN_TIMESTAMP       optional: an RFC 3161 time-stamp server's URL
# The password is read from its file by osslsigncode itself, so it is never on
# a command line. Called by the sign target, and by makensis for the installer
# and its uninstaller (!finalize, !uninstfinalize).
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 FILE..." >&2; exit 2; }
pkcs12=${TREMBLIX_SIGN_PKCS12:-}
password=${TREMBLIX_SIGN_PASSWORD_FILE:-}
if [ -z "$pkcs12" ] || [ -z "$password" ]; then
  echo "sign: set TREMBLIX_SIGN_PKCS12 and TREMBLIX_SIGN_PASSWORD_FILE to sign" >&2
  exit 1
fi
for file in "$pkcs12" "$password"; do
  [ -r "$file" ] || { echo "sign: cannot read $file" >&2; exit 1; }
done
command -v osslsigncode >/dev/null || { echo "sign: osslsigncode is missing (tools/setup.sh)" >&2; exit 1; }

# A time stamp keeps the signature valid after the certificate expires.
stamp=()
[ -z "${TREMBLIX_SIGN_TIMESTAMP:-}" ] || stamp=(-ts "$TREMBLIX_SIGN_TIMESTAMP")

for file; do
  # osslsigncode cannot write over its input, nor over an existing file: it
  # writes beside it, and the signed file then takes the original's place.
  signed=$file.signing
  rm -f "$signed"
  if ! osslsigncode sign -pkcs12 "$pkcs12" -readpass "$password" -n Tremblix -h sha256 \
         "${stamp[@]}" -in "$file" -out "$signed" >"$signed.log" 2>&1; then
    cat "$signed.log" >&2
    rm -f "$signed" "$signed.log"
    echo "sign: could not sign $file" >&2
    exit 1
  fi
  rm -f "$signed.log"
  mv -f "$signed" "$file"
  echo "signed $file"
done
