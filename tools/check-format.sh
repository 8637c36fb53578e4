#!/usr/bin/env bash
# Fails, naming the files, when a tracked .cpp or .h file is not formatted as .clang-format says
# (clang-format 14, Debian 12's). `clang-format -i FILE...` formats them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if ! command -v clang-format >/dev/null; then
    echo "clang-format is missing: tools/setup.sh installs it."
    exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests fuzz bench tools -name '*.cpp' -o -name '*.h' | sort)
fi
if ((${#files[@]} == 0)); then
    echo "No .cpp or .h file found."
    exit 1
fi
# One run over every file; each place that would change is reported as "FILE:LINE:COL: ...".
mapfile -t unformatted < <(clang-format --dry-run "${files[@]}" 2>&1 |
    sed -n 's/^\(.*\):[0-9]*:[0-9]*: \(warning\|error\): code should be clang-formatted.*/\1/p' |
    sort -u)
if ((${#unformatted[@]})); then
    echo "Not formatted as .clang-format says (clang-format -i FILE... formats them):"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "Formatting: ${#files[@]} files clean."
