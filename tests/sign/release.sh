#!/usr/bin/env bash
# The signed release as a maintainer makes it, with a throwaway certificate
# authority and code-signing certificate: the programs, the installer and the
# zip's copies all verify against that authority; without a certificate
# nothing is signed; the build's own files stay unsigned. Leaves the authority
# and the release in DIR for the installer's case that checks the uninstaller
# a signed installer writes.
#   release.sh DIR SETUP ZIP SCR DLL -- MAKENSIS ARG... SCRIPT
# (after DIR, what tools/sign-release.sh takes after its folder)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
dir=$1 setup=$2 zip=$3 scr=$4 dll=$5
shift

fail() {
  echo "FAIL: $*"
  exit 1
}

command -v osslsigncode >/dev/null || fail "osslsigncode is missing (tools/setup.sh installs it)"
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir" || exit 1

# Short-lived keys made here, never a real one; the password in a file, as a
# maintainer keeps theirs.
authority() {
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 2 -subj "/CN=$1" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign \
    -keyout "$2.key" -out "$2.pem" 2>/dev/null
}
authority "Tremblix throwaway authority" ca && authority "Another authority" other-ca ||
  fail "openssl could not make the authorities"
printf '[signer]\nbasicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' \
  >signer.cnf
head -c 18 /dev/urandom | base64 >password
{
  openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes \
    -subj "/CN=Tremblix throwaway signer" -keyout signer.key -out signer.csr &&
  openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
    -extfile signer.cnf -extensions signer -out signer.pem &&
  openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem \
    -passout file:password -out signer.p12
} >openssl.log 2>&1 || { cat openssl.log; fail "openssl could not make the code-signing certificate"; }

# No certificate named: the release is refused, and says why.
if env -u TREMBLIX_SIGN_PKCS12 -u TREMBLIX_SIGN_PASSWORD_FILE \
     bash "$source/tools/sign-release.sh" "$dir/unsigned" "$@" >unsigned.log 2>&1; then
  fail "a release was made without a certificate"
fi
grep -q 'nothing signed' unsigned.log || fail "without a certificate: $(cat unsigned.log)"
[ ! -e unsigned ] || fail "without a certificate it still wrote $(ls unsigned)"

# A time stamp asked of a server that cannot be reached (no network here):
# the signing fails, and the file is left as it was, with nothing beside it.
mkdir stamp
cp "$scr" stamp/Tremblix.scr
if TREMBLIX_SIGN_PKCS12=$dir/signer.p12 TREMBLIX_SIGN_PASSWORD_FILE=$dir/password \
     TREMBLIX_SIGN_TIMESTAMP=http://127.0.0.1:9/ "$source/tools/sign.sh" stamp/Tremblix.scr \
     >stamp.log 2>&1; then
  fail "signing succeeded though the time stamp could not be had"
fi
grep -q 'http://127.0.0.1:9/' stamp.log || fail "the time-stamp server was never asked: $(cat stamp.log)"
cmp -s "$scr" stamp/Tremblix.scr || fail "a failed signing changed the file"
[ "$(ls stamp)" = Tremblix.scr ] || fail "a failed signing left $(ls stamp)"

start=${EPOCHREALTIME/./}
TREMBLIX_SIGN_PKCS12=$dir/signer.p12 TREMBLIX_SIGN_PASSWORD_FILE=$dir/password \
  env -u TREMBLIX_SIGN_TIMESTAMP bash "$source/tools/sign-release.sh" "$dir/release" "$@" \
  >release.log 2>&1 || { cat release.log; fail "the signed release could not be made"; }
echo "signed release made in $(((${EPOCHREALTIME/./} - start) / 1000)) ms"
# makensis hands the uninstaller to the signing script in a temporary file of
# its own: the installer's case checks the one it writes.
grep -qE '^signed /.*makensis' release.log || fail "makensis did not have the uninstaller signed"

"$here/expect-signed.sh" "$dir" release/Tremblix.scr release/Tremblix.dll "release/$setup" || exit 1

mkdir zip
(cd zip && cmake -E tar xf "../release/$zip") || fail "cannot unpack $zip"
for file in Tremblix.scr Tremblix.dll "$setup"; do
  cmp -s "zip/$file" "release/$file" || fail "$zip does not hold the signed $file"
done

# Only the release's copies are signed: the build's own programs, which the
# tests install and run, stay as the linker wrote them.
for file in "$scr" "$dll"; do
  ! osslsigncode extract-signature -in "$file" -out "$dir/build.sig" >/dev/null 2>&1 ||
    fail "the build's own $file is signed"
done
echo "the build's own programs are unsigned"
