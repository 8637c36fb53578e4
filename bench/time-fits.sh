#!/usr/bin/env bash
# Whole-process time of morvel-compose framing a 16-bit FITS photo: read through cfitsio,
# stretched automatically, shrunk into 1600 x 1200 and framed, BMP out.
# Usage: bench/time-fits.sh BUILD_DIR [RUNS] [WIDTHxHEIGHT]   (Release; 21 runs, 6000x4000)
set -euo pipefail
build_dir=${1:?usage: time-fits.sh BUILD_DIR [RUNS] [WIDTHxHEIGHT]}
runs=${2:-21}
size=${3:-6000x4000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bench=$(cd "$(dirname "$0")" && pwd)

"$build_dir/bench/make-sample-photo" "$work/photo.fits" "${size%x*}" "${size#*x}" 2>/dev/null
: > "$work/nolt.ini"
morvel() {
    "$build_dir/src/morvel-compose" --settings "$work/nolt.ini" --template "$bench/frame.kvl" \
        --fit 1600x1200 --photo "$work/photo.fits" --output "$work/morvel.bmp"
}
morvel >/dev/null 2>&1 || { echo "morvel-compose failed" >&2; morvel; exit 1; }
times=()
for ((i = 0; i < runs; i++)); do
    t0=${EPOCHREALTIME/./}
    morvel >/dev/null 2>&1
    t1=${EPOCHREALTIME/./}
    times+=($(((t1 - t0) / 100)))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
pick() { sed -n "$1p" <<<"$sorted" | awk '{ printf "%.1f", $1 / 10 }'; }
echo "FITS ${size} 16-bit, stretched, shrunk, framed: $(pick $(((runs + 1) / 2))) ms median," \
    "$(pick 1) ms best, $(pick "$runs") ms worst of $runs (whole process)"
identify "$work/morvel.bmp" | sed 's|.*/||'
