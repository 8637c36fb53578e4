#!/usr/bin/env bash
# Whole-process times of morvel-compose with plate solving: a hinted solve of a 1600 x 1067 JPEG of
# a 2° field (the scale from EXIF, the place from the target "M8" of the template), a blind solve
# of a 10° field, and a batch of 20 such 2° photos with --solve -j 2. Each run starts with an
# empty solve cache.
# Usage: bench/time-solve.sh BUILD_DIR [RUNS]   (Release; 5 runs)
set -euo pipefail
build_dir=${1:?usage: time-solve.sh BUILD_DIR [RUNS]}
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bench=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen XDG_CACHE_HOME="$work/cache"

"$build_dir/bench/bench_solve" --photos "$work/photos" 20
: > "$work/nolt.ini"
# frame.kvl names M 42 as the target, a hint of the place: the blind run takes a template without
# a target name.
printf '[Frame]\r\nPhotoSize=1600x1200\r\n' >"$work/blind.kvl"
template=$bench/frame.kvl
compose() {
    "$build_dir/src/morvel-compose" --settings "$work/nolt.ini" --template "$template" \
        --solve --require-solve "$@"
}
seconds() {
    local t0=${EPOCHREALTIME/./}
    "$@" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; echo failed; return; }
    local t1=${EPOCHREALTIME/./}
    awk -v us=$((t1 - t0)) 'BEGIN { printf "%.2f", us / 1e6 }'
}
# report NAME keep|clear COMMAND...: the cache kept between the runs, or emptied before each.
report() {
    local name=$1 cache=$2
    shift 2
    local times=()
    for ((i = 0; i < runs; i++)); do
        [ "$cache" = keep ] || rm -rf "$work/cache"
        rm -rf "$work/out"
        times+=("$(seconds "$@")")
    done
    local sorted
    sorted=$(printf '%s\n' "${times[@]}" | sort -n)
    echo "$name: median $(sed -n "$(((runs + 1) / 2))p" <<<"$sorted") s," \
        "best $(head -1 <<<"$sorted") s, worst $(tail -1 <<<"$sorted") s of $runs"
}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
hinted=(--set Header-0.Data=M8 --photo "$work/photos/m8-01.jpg" --output "$work/hinted.bmp")
report "hinted 2° JPEG, whole process" clear compose "${hinted[@]}"
report "the same photo again, from the cache" keep compose "${hinted[@]}"
template=$work/blind.kvl
report "blind 10° JPEG, whole process" clear compose --solve-timeout 60 \
    --photo "$work/photos/blind10.jpg" --output "$work/blind.bmp"
template=$bench/frame.kvl
runs=$(((runs + 1) / 2))
report "batch of 20 hinted 2° JPEGs, -j 2" clear compose --set Header-0.Data=M8 -j 2 \
    --output-dir "$work/out" "$work"/photos/m8-*.jpg
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
