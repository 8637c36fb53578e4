#!/usr/bin/env bash
# Installs what is missing, builds the two programs (no tests or benchmarks), and runs Morvel.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build_dir="$root/build/release"
"$root/tools/setup.sh" "$build_dir" Release \
    -DMORVEL_BUILD_TESTS=OFF -DMORVEL_BUILD_BENCH=OFF -DMORVEL_BUILD_SCREENSHOTS=OFF
exec "$build_dir/src/morvel" "$@"
