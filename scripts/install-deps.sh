#!/bin/bash
# Installs the Debian packages that building, running and testing Tarvex need, when missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config autoconf automake libtool
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev libchm-dev libsodium-dev libsqlite3-dev fp-utils fonts-liberation2
  libgtest-dev libbenchmark-dev poppler-utils python3 faketime openssl curl
  clang libclang-rt-dev llvm
  xvfb xauth imagemagick libx11-dev libxtst-dev sqlite3
  dpkg-dev desktop-file-utils appstream lintian
  gnupg apt-utils
  g++-mingw-w64-x86-64-posix wine64 tcl
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
