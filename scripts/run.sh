#!/usr/bin/env bash
# Builds Sigilscope and starts it on the sample library samples/sigilscope.icl.
# Without a display (a bare server) it runs under a virtual X server,
# saves a picture of its window to out/sigilscope.png and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --gui

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build sigilscope sigil

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec build/src/shell/sigilscope samples/sigilscope.icl
fi

echo "No display: running under Xvfb; the window is saved to out/sigilscope.png"
mkdir -p out
SIGILSCOPE_GRAB="$PWD/out/sigilscope.png" SIGILSCOPE_INI="$PWD/out/Tamberly.ini" \
  xvfb-run -a -s "-screen 0 1280x800x24" build/src/shell/sigilscope samples/sigilscope.icl
ls -l out/sigilscope.png
