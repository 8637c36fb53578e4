#!/usr/bin/env bash
# Builds the Debian package of Morvel from a Release build of the two programs (the same build
# folder as ./run.sh) and says how to install it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$root/build/release"
"$root/tools/setup.sh" "$build_dir" Release \
    -DMORVEL_BUILD_TESTS=OFF -DMORVEL_BUILD_BENCH=OFF -DMORVEL_BUILD_SCREENSHOTS=OFF
rm -f "$build_dir"/package/morvel_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
debs=("$build_dir"/package/morvel_*.deb)
echo "Built ${debs[0]}"
echo "Install it with: sudo apt install ${debs[0]}"
