#!/usr/bin/env bash
# Whole-process time of morvel-compose against an ImageMagick command that makes the same framed
# picture (border, background, five texts, BMP out) from the same 1600 x 1200 JPEG, in one run.
# Usage: bench/compare-imagemagick.sh BUILD_DIR [RUNS]   (a Release build)
set -euo pipefail
build_dir=${1:?usage: compare-imagemagick.sh BUILD_DIR [RUNS]}
runs=${2:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v convert >/dev/null || { echo "ImageMagick (convert) is not installed" >&2; exit 1; }

"$build_dir/bench/make-sample-photo" "$work/photo.jpg" 1600 1200 2>/dev/null
: > "$work/nolt.ini"
font=$(fc-match -f '%{file}' 'IPAGothic')

printf '\xEF\xBB\xBF' > "$work/t.kvl"
cat >> "$work/t.kvl" <<'KVL'
[Frame]
PhotoSize=1600x1200
Background=0x0
BorderColor=0xC0C0C0
BorderWidth=3
[Header-0]
Data=M42 オリオン大星雲
FontName=ＭＳ ゴシック
FontSize=16
FontColor=0xFFFFFF
[Header-1]
FontName=ＭＳ ゴシック
FontSize=10
FontColor=0xFFFFFF
Month=11
Day=24
Year=2001
Time=22:30 JST
[Header-2]
Data=鏡筒: 10cm 屈折 (f=640mm)  カメラ: 冷却CMOS
FontName=ＭＳ ゴシック
FontSize=10
FontColor=0xFFFFFF
[Header-3]
Data=露出 300秒 x 8枚 加算平均  ISO 800
FontName=ＭＳ ゴシック
FontSize=10
FontColor=0xFFFFFF
FontAlign=3
[Header-4]
Data=撮影地: 長野県 入笠山
FontName=ＭＳ ゴシック
FontSize=10
FontColor=0xFFFFFF
FontAlign=2
KVL

morvel() {
    "$build_dir/src/morvel-compose" --settings "$work/nolt.ini" --template "$work/t.kvl" \
        --photo "$work/photo.jpg" --output "$work/morvel.bmp"
}

# The same picture: 3-pixel border, margins 20/10/5, header and three footer lines, 24-bit BMP.
magick_cmd() {
    convert "$work/photo.jpg" -bordercolor '#C0C0C0' -border 3 \
        -background black -gravity north -splice 0x46 -gravity south -splice 0x62 \
        -gravity center -extent 1646x1314 \
        -font "$font" -fill white -gravity northwest -pointsize 16 -annotate +10+10 'M42 オリオン大星雲' \
        -pointsize 10 -gravity northeast -annotate +10+16 '2001/12/25 22:30 JST' \
        -gravity northwest -annotate +10+1258 '鏡筒: 10cm 屈折 (f=640mm)  カメラ: 冷却CMOS' \
        -annotate +10+1271 '露出 300秒 x 8枚 加算平均  ISO 800' \
        -gravity northeast -annotate +10+1284 '撮影地: 長野県 入笠山' \
        -type TrueColor BMP3:"$work/magick.bmp"
}

time_ms() { # runs the command $runs times, prints the median wall time in ms
    local times=()
    for ((i = 0; i < runs; i++)); do
        local t0 t1
        t0=$(date +%s%N)
        "$@" >/dev/null 2>&1
        t1=$(date +%s%N)
        times+=($(((t1 - t0) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

morvel >/dev/null 2>&1 || { echo "morvel-compose failed" >&2; morvel; exit 1; }
magick_cmd
m=$(time_ms morvel)
im=$(time_ms magick_cmd)
echo "morvel-compose: ${m} ms (median of $runs, whole process)"
echo "ImageMagick:    ${im} ms (median of $runs, whole process)"
awk -v a="$im" -v b="$m" 'BEGIN { printf "ImageMagick / morvel-compose = %.1fx\n", (b > 0 ? a / b : 0) }'
identify "$work/morvel.bmp" "$work/magick.bmp" | sed 's|.*/||'
