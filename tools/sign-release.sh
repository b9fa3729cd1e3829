#!/usr/bin/env bash
# Makes the signed release of one edition in folder OUT: its two programs
# signed, its installer built from them (makensis signs the uninstaller before
# packing it in, and then the installer), and the zip of those three with
# INSTALL.txt. The certificate is the one tools/sign.sh reads. The build's own
# files stay as they are: only copies are signed. Run by the sign target:
#   sign-release.sh OUT SETUP ZIP SCR DLL -- MAKENSIS ARG... SCRIPT
# SETUP and ZIP are the installer's and the zip's names; the makensis command
# has every define but PROGRAMS, OUTFILE and SIGN.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=$(dirname "$here")

[ $# -gt 7 ] && [ "$6" = -- ] ||
  { echo "usage: $0 OUT SETUP ZIP SCR DLL -- MAKENSIS ARG... SCRIPT" >&2; exit 2; }
out=$1 setup=$2 zip=$3 scr=$4 dll=$5
shift 6
script=${*: -1}
makensis=("${@:1:$#-1}")
if [ -z "${TREMBLIX_SIGN_PKCS12:-}" ] || [ -z "${TREMBLIX_SIGN_PASSWORD_FILE:-}" ]; then
  echo "sign: no certificate named (TREMBLIX_SIGN_PKCS12, TREMBLIX_SIGN_PASSWORD_FILE): nothing signed" >&2
  exit 1
fi

mkdir -p "$out"
rm -f "$out/Tremblix.scr" "$out/Tremblix.dll" "$out/$setup" "$out/$zip" "$out/INSTALL.txt"
cp "$scr" "$dll" "$out/"
"$here/sign.sh" "$out/Tremblix.scr" "$out/Tremblix.dll"
"${makensis[@]}" -DPROGRAMS="$out" -DOUTFILE="$out/$setup" -DSIGN="$here/sign.sh" "$script"
cmake -DDIR="$out" -DSETUP="$setup" -DTEXT="$source/tools/dist/INSTALL.txt" -DZIP="$out/$zip" \
  -P "$source/cmake/pack.cmake"
echo "signed release: $out"
