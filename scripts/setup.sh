#!/usr/bin/env bash
# Installs what building and testing Plenvox needs on Debian 12, once: the native
# toolchain and GoogleTest, the MinGW-w64 cross compilers, Wine with 32-bit support and
# Xvfb for the end-to-end tests, Double Commander, MPD and xdotool for the Linux
# end-to-end run, libmpdclient (found through pkg-config) for the Linux edition, clang for the fuzz targets, TagLib for the benchmark, and the encoders
# and tagger that generate the benchmark corpus (also compared in a test).
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake make g++ python3 zip
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 xvfb xauth x11-utils imagemagick
  doublecmd-gtk mpd libmpdclient-dev pkg-config xdotool
  libtag1-dev
  sox lame twolame ffmpeg python3-mutagen
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: everything is installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi
as_root apt-get update -q
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
