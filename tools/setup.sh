#!/usr/bin/env bash
# Installs what building, running and testing Tremblix needs on Debian 12.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest procps e2fsprogs
  g++-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 wine64 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  xvfb xdotool x11-utils imagemagick fonts-ipafont-gothic
  sox lame zip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (${missing[*]}); run this script as root" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
