#!/usr/bin/env bash
# Installs what building and testing Sigilscope needs on Debian 12, only
# where missing. Safe to run again.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev
  libopenjp2-7-dev           # JPEG 2000 elements of Mac icon files
  libspng-dev                # every PNG decoded and encoded
  libdeflate-dev             # the image data of 8-bit RGB and RGBA PNGs (the fast path)
  libturbojpeg0-dev          # JPEG pictures
  librsvg2-dev               # SVG inputs of sigil make (the library is opened when an SVG is met)
  fonts-noto-cjk             # the interface is Japanese
  fonts-ipafont-gothic       # a second Japanese font, common on desktops: tests must not care which
  qt6-translations-l10n      # and so are Qt's own dialogs and buttons (qtbase_ja)
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev   # libFuzzer and the sanitizer runtimes
  clang-format
  desktop-file-utils appstream shared-mime-info libxml2-utils man-db  # the install test
  dpkg-dev file lintian      # the Debian package (cpack's dpkg-shlibdeps) and its check
)
if [[ "${1:-}" == "--gui" ]]; then
  packages+=(xvfb xauth)   # to run the program where no display exists
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
