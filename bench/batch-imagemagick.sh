#!/usr/bin/env bash
# A night's batch: 50 photos of 1600 x 1200 framed by one morvel-compose --output-dir run (with
# -j 1, -j 2 and the default, every core) against a loop of ImageMagick commands making the same
# frames (those of compare-imagemagick.sh), in turns within one run. Both write new files.
# Usage: bench/batch-imagemagick.sh BUILD_DIR [ROUNDS] [PHOTOS]   (a Release build; 5 rounds)
set -euo pipefail
build_dir=${1:?usage: batch-imagemagick.sh BUILD_DIR [ROUNDS] [PHOTOS]}
rounds=${2:-5}
count=${3:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v convert >/dev/null || { echo "ImageMagick (convert) is not installed" >&2; exit 1; }

"$build_dir/bench/make-sample-photo" "$work/sample.jpg" 1600 1200 2>/dev/null
photos=()
for ((i = 1; i <= count; i++)); do
    name=$(printf '%s/night-%02d.jpg' "$work" "$i")
    cp "$work/sample.jpg" "$name"
    photos+=("$name")
done
: > "$work/nolt.ini"
source "$(dirname "$0")/imagemagick-frame.sh"

morvel() { # JOBS (empty: the default)
    "$build_dir/src/morvel-compose" --settings "$work/nolt.ini" --template "$frame_template" \
        ${1:+-j "$1"} --output-dir "$work/morvel" "${photos[@]}"
}

# One convert command a photo, as a script would loop.
magick() {
    mkdir -p "$work/magick"
    for photo in "${photos[@]}"; do
        magick_frame "$photo" "$work/magick/$(basename "$photo" .jpg).bmp"
    done
}

morvel 1 >/dev/null || { echo "morvel-compose failed" >&2; exit 1; }
declare -a t_j1 t_j2 t_all t_im c_j1 c_j2
# timed DIR COMMAND...: "WALL CPU" in ms (CPU: user + system of the command and its children),
# after DIR is removed. The CPU time says how much of the machine the run could get.
timed() {
    local dir=$1 TIMEFORMAT='%R %U %S' t
    shift
    rm -rf "${work:?}/$dir"
    t=$({ time "$@" >/dev/null 2>&1; } 2>&1)
    awk -v t="$t" 'BEGIN { split(t, a, " "); printf "%d %d\n", a[1] * 1000, (a[2] + a[3]) * 1000 }'
}
for ((r = 0; r < rounds; r++)); do
    read -r w c < <(timed morvel morvel 1); t_j1+=("$w"); c_j1+=("$c")
    read -r w c < <(timed morvel morvel 2); t_j2+=("$w"); c_j2+=("$c")
    read -r w c < <(timed morvel morvel ""); t_all+=("$w")
    read -r w c < <(timed magick magick); t_im+=("$w")
    echo "round $((r + 1)): -j 1 ${t_j1[r]} ms (CPU ${c_j1[r]} ms), -j 2 ${t_j2[r]} ms" \
        "(CPU ${c_j2[r]} ms), default ${t_all[r]} ms, ImageMagick ${t_im[r]} ms;" \
        "load $(cut -d' ' -f1 /proc/loadavg)"
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
j1=$(median "${t_j1[@]}"); j2=$(median "${t_j2[@]}"); all=$(median "${t_all[@]}")
im=$(median "${t_im[@]}")
echo "$count photos, medians of $rounds rounds ($(nproc) cores):"
echo "  morvel-compose -j 1: $j1 ms, -j 2: $j2 ms, default: $all ms; ImageMagick loop: $im ms"
echo "  CPU time -j 1: $(median "${c_j1[@]}") ms, -j 2: $(median "${c_j2[@]}") ms"
awk -v im="$im" -v all="$all" -v j1="$j1" -v j2="$j2" 'BEGIN {
    printf "  ImageMagick / morvel-compose (default) = %.1fx\n", im / all
    printf "  -j 1 / -j 2 = %.2fx\n", j1 / j2 }'
# The ratio within each round, where all ran under the same load.
for ((r = 0; r < rounds; r++)); do
    awk -v a="${t_im[r]}" -v b="${t_all[r]}" -v c="${t_j1[r]}" -v d="${t_j2[r]}" \
        'BEGIN { printf "%.1f %.2f\n", a / b, c / d }'
done | sort -n -k2 | awk '{ im[NR] = $1; j[NR] = $2 } END {
    printf "  per round: j1/j2 from %.2fx to %.2fx (median %.2fx)\n", j[1], j[NR], j[int((NR + 1) / 2)] }'
identify "$work/morvel/night-01.bmp" "$work/magick/night-01.bmp" | sed 's|.*/||'
