#!/usr/bin/env bash
# Installs what is missing, builds, and runs Morvel.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build_dir="$root/build/release"
"$root/tools/setup.sh" "$build_dir" Release

if [ -x "$build_dir/src/morvel" ]; then
    exec "$build_dir/src/morvel" "$@"
elif [ -x "$build_dir/src/morvel-compose" ]; then
    exec "$root/tools/compose-sample.sh" "$build_dir"
else
    echo "Built in $build_dir; the store layer has no program of its own yet."
fi
