#!/usr/bin/env bash
# Installs what building, running and testing Tremblix needs on Debian 12.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev procps psmisc e2fsprogs
  g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 libgl1 libglx-mesa0 libgl1-mesa-dri
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xdotool x11-utils imagemagick fonts-ipafont-gothic
  xserver-xorg-core xserver-xorg-video-dummy  # two monitors side by side for the tests
  sox lame zip nsis locales osslsigncode openssl
)
# 32-bit Wine, for the machines that can run it.
packages_32bit=(
  wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  libxrandr2:i386 libxinerama1:i386  # without them 32-bit Wine sees one monitor
)

# Some machines run no 32-bit code at all. There the 32-bit packages could
# never run, and their indexes are one more download that can fail: a
# three-instruction 32-bit program tells.
runs_32bit_code() {
  command -v as >/dev/null && command -v ld >/dev/null || return 0
  local dir status=0
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\nmovl $1, %%eax\nxorl %%ebx, %%ebx\nint $0x80\n' |
    as --32 -o "$dir/exit.o" - && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" &&
    "$dir/exit" 2>/dev/null || status=1
  rm -rf "$dir"
  return "$status"
}
with_32bit=0
if runs_32bit_code; then
  with_32bit=1
  packages+=("${packages_32bit[@]}")
fi

# Our users run Windows with the Japanese code page: under Wine that is
# LANG=ja_JP.UTF-8, and Wine maps non-ASCII file names only through a system
# locale that exists.
japanese_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8' && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: the ja_JP.UTF-8 locale is missing; run this script as root" >&2
    return 1
  fi
  echo "setup: making the ja_JP.UTF-8 locale"
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  japanese_locale
  exit
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (${missing[*]}); run this script as root" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
[ "$with_32bit" = 0 ] || dpkg --print-foreign-architectures | grep -qx i386 ||
  dpkg --add-architecture i386
# A mirror in the middle of its sync now and then fails an index: try once
# more, then install from the indexes that were read.
apt-get update -qq || { sleep 15; apt-get update -qq; } ||
  echo "setup: some package indexes could not be read; installing from those that were" >&2
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
japanese_locale
