#!/usr/bin/env bash
# Whole-process time of morvel-compose framing a 32-bit floating point RGB master as XISF (zstd,
# byte-shuffled) against the same data as FITS (uncompressed, through cfitsio): stretched
# automatically, shrunk into 1600 x 1200 and framed, BMP out. The two run in turn, RUNS rounds.
# Usage: bench/time-xisf.sh BUILD_DIR [RUNS] [WIDTHxHEIGHT]   (Release; 11 runs, 6000x4000)
set -euo pipefail
build_dir=${1:?usage: time-xisf.sh BUILD_DIR [RUNS] [WIDTHxHEIGHT]}
runs=${2:-11}
size=${3:-6000x4000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bench=$(cd "$(dirname "$0")" && pwd)

for format in xisf fits; do
    "$build_dir/bench/make-sample-photo" "$work/photo.$format" "${size%x*}" "${size#*x}" rgb32 \
        2>/dev/null
done
: > "$work/nolt.ini"
morvel() {
    "$build_dir/src/morvel-compose" --settings "$work/nolt.ini" --template "$bench/frame.kvl" \
        --fit 1600x1200 --photo "$work/photo.$1" --output "$work/$1.bmp"
}
declare -A times
for format in xisf fits; do
    morvel $format >/dev/null 2>&1 || { echo "morvel-compose failed" >&2; morvel $format; exit 1; }
done
for ((i = 0; i < runs; i++)); do
    for format in xisf fits; do
        t0=${EPOCHREALTIME/./}
        morvel $format >/dev/null 2>&1
        t1=${EPOCHREALTIME/./}
        times[$format]+="$(((t1 - t0) / 100)) "
    done
done
for format in xisf fits; do
    sorted=$(printf '%s\n' ${times[$format]} | sort -n)
    pick() { sed -n "$1p" <<<"$sorted" | awk '{ printf "%.1f", $1 / 10 }'; }
    echo "${format^^} ${size} Float32 RGB ($(du -h "$work/photo.$format" | cut -f1)), stretched," \
        "shrunk, framed: $(pick $(((runs + 1) / 2))) ms median, $(pick 1) ms best," \
        "$(pick "$runs") ms worst of $runs (whole process)"
done
cmp -s "$work/xisf.bmp" "$work/fits.bmp" && echo "Same picture from both." ||
    echo "The pictures differ." >&2
