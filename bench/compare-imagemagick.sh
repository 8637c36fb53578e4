#!/usr/bin/env bash
# Whole-process time of morvel-compose against an ImageMagick command that makes the same framed
# picture (border, background, five texts, BMP out) from the same JPEG, in one run. A photo larger
# than 1600 x 1200 is shrunk into that box by both (--fit 1600x1200 and -resize 1600x1200).
# Usage: bench/compare-imagemagick.sh BUILD_DIR [RUNS] [WIDTHxHEIGHT]
#        (a Release build; RUNS defaults to 21, the photo to 1600x1200)
set -euo pipefail
build_dir=${1:?usage: compare-imagemagick.sh BUILD_DIR [RUNS] [WIDTHxHEIGHT]}
runs=${2:-21}
size=${3:-1600x1200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v convert >/dev/null || { echo "ImageMagick (convert) is not installed" >&2; exit 1; }

width=${size%x*}
height=${size#*x}
"$build_dir/bench/make-sample-photo" "$work/photo.jpg" "$width" "$height" 2>/dev/null
: > "$work/nolt.ini"
source "$(dirname "$0")/imagemagick-frame.sh"
frame_photo "$width" "$height"

morvel() {
    "$build_dir/src/morvel-compose" --settings "$work/nolt.ini" --template "$frame_template" \
        "${fit[@]}" --photo "$work/photo.jpg" --output "$work/morvel.bmp"
}

magick_cmd() {
    magick_frame "$work/photo.jpg" "$work/magick.bmp"
}

# Both commands in turn, RUNS rounds, so that a change in the machine's load falls on both alike.
# The clock is the shell's own (EPOCHREALTIME, microseconds): no process is started to read it.
morvel >/dev/null 2>&1 || { echo "morvel-compose failed" >&2; morvel; exit 1; }
magick_cmd
m_times=()
im_times=()
for ((i = 0; i < runs; i++)); do
    t0=${EPOCHREALTIME/./}
    morvel >/dev/null 2>&1
    t1=${EPOCHREALTIME/./}
    magick_cmd >/dev/null 2>&1
    t2=${EPOCHREALTIME/./}
    m_times+=($(((t1 - t0) / 100)))
    im_times+=($(((t2 - t1) / 100)))
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
minimum() { printf '%s\n' "$@" | sort -n | head -1; }
tenths() { awk -v t="$1" 'BEGIN { printf "%.1f", t / 10 }'; }
m=$(median "${m_times[@]}")
im=$(median "${im_times[@]}")
echo "photo ${width}x${height}, shown ${shown_w}x${shown_h}"
echo "morvel-compose: $(tenths "$m") ms median, $(tenths "$(minimum "${m_times[@]}")") ms best of $runs (whole process)"
echo "ImageMagick:    $(tenths "$im") ms median, $(tenths "$(minimum "${im_times[@]}")") ms best of $runs (whole process)"
awk -v a="$im" -v b="$m" 'BEGIN { printf "ImageMagick / morvel-compose = %.1fx (medians)\n", (b > 0 ? a / b : 0) }'
# The ratio within each round, where both ran under the same load.
for ((i = 0; i < runs; i++)); do
    awk -v a="${im_times[i]}" -v b="${m_times[i]}" 'BEGIN { printf "%.2f\n", (b > 0 ? a / b : 0) }'
done | sort -n | awk '{ r[NR] = $1 } END { printf "ratio per round: median %.1fx, worst %.1fx, best %.1fx\n", r[int((NR + 1) / 2)], r[1], r[NR] }'
identify "$work/morvel.bmp" "$work/magick.bmp" | sed 's|.*/||'
