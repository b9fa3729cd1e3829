#!/usr/bin/env bash
# Every library a program imports at its start is one of Windows' KnownDLLs,
# which Windows loads from the system folder whatever lies beside the program.
# The 32-bit programs are also large-address-aware.
# Usage: known_dlls.sh OBJDUMP x86|x64 PROGRAM...
set -uo pipefail
objdump=$1 edition=$2
shift 2

# Windows 10 22H2, 64-bit: HKLM\SYSTEM\CurrentControlSet\Control\Session
# Manager\KnownDLLs for 64-bit programs, and the \KnownDlls32 list its 32-bit
# programs get. 32-bit Windows 10 keeps the 32-bit names.
known64="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32
  kernel32 msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore
  shell32 shlwapi user32 wldap32 wow64 wow64cpu wow64win ws2_32 ntdll"
known32="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32
  kernel32 msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore
  shell32 shlwapi user32 wldap32 ws2_32 ntdll"
if [ "$edition" = x64 ]; then known=$known64; else known=$known32; fi

bad=0
for program; do
  headers=$("$objdump" -p "$program")
  [ "$edition" = x64 ] || grep -q 'large address aware' <<<"$headers" ||
    { echo "FAIL: $program is not large-address-aware"; bad=1; }
  names=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers" | sort -u)
  [ -n "$names" ] || { echo "FAIL: $program lists no imports"; bad=1; continue; }
  for name in $names; do
    if grep -qw "${name%.dll}" <<<"$known"; then
      echo "$program: $name is a KnownDLL"
    else
      echo "FAIL: $program imports $name at its start, which Windows looks for beside it first"
      bad=1
    fi
  done
done
exit $bad
