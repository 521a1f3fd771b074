#!/bin/bash
# Installs what the build and the tests need from Debian's packages, if missing.
set -eu
pkgs=(cmake ninja-build g++ googletest
      g++-mingw-w64-x86-64-posix mingw-w64-tools
      wine64 wine64-preloader xvfb xauth
      imagemagick xdotool clang-format python3 python3-dbfread python3-dbf clang libclang-rt-14-dev)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]} (run as root, or install them)" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
