#!/usr/bin/env bash
# Builds and runs every test of Sigilscope: a check of the layers and of the source format,
# the unit tests, an install into a temporary prefix, the Debian package of the same build
# checked by lintian, every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of every fuzz target on its seeds,
# and a build of the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

echo "== layers (no folder of src/ includes one above it)"
scripts/check_layers.sh

echo "== source format (.clang-format)"
find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run -Werror

echo "== unit tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSIGIL_BENCH=ON -DSIGIL_WERROR=ON >/dev/null
ninja -C build -j"$jobs"
(cd build && ctest -j"$jobs" --output-on-failure)

echo "== install (into a temporary prefix: desktop entry, MIME types, metainfo, thumbnailer)"
scripts/install_test.sh build

echo "== Debian package (cpack -G DEB of the same build; its contents; lintian)"
scripts/deb_test.sh build

echo "== all tests under ASan + UBSan"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSIGIL_SANITIZE=ON -DSIGIL_WERROR=ON >/dev/null
ninja -C build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest -j"$jobs" --output-on-failure)

echo "== fuzz targets (short runs on their seeds)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSIGIL_FUZZ=ON -DSIGIL_TESTS=OFF -DSIGIL_ENGINE_ONLY=ON >/dev/null
ninja -C build-fuzz -j"$jobs"
for target in build-fuzz/fuzz/fuzz_*; do
  name=$(basename "$target")
  work=$(mktemp -d)
  fuzz/seed.sh "$name" "$work"
  "$target" -max_total_time=20 -print_final_stats=0 "$work" 2>&1 | tail -n 1
  rm -rf "$work"
done
echo "== all tests passed"
