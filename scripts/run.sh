#!/usr/bin/env bash
# Builds Sigilscope and runs its main job: the command-line tool `sigil`
# listing the sample icons (and extracting them again into out/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build sigil

echo "== sigil list samples/"
build/src/cli/sigil list samples/
echo "== sigil list --json samples/sigil.ico"
build/src/cli/sigil list --json samples/sigil.ico
mkdir -p out
echo "== sigil extract samples/ -o out"
build/src/cli/sigil extract samples/ -o out
