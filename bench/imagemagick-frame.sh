# The framed picture the ImageMagick comparisons make both ways (sourced by them): the photo shrunk
# into 1600 x 1200 when larger, 3-pixel border, black background, header and three footer lines in
# IPAGothic, 24-bit BMP. morvel-compose draws it from the template bench/frame.kvl.

frame_template=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/frame.kvl
frame_font=$(fc-match -f '%{file}' 'IPAGothic')

# frame_photo WIDTH HEIGHT: sets shown_w and shown_h, the photo as both show it (shrunk into
# 1600 x 1200 with its aspect ratio when larger), and the options that shrink it: fit for
# morvel-compose, resize for ImageMagick (both empty for a photo that fits).
frame_photo() {
    read -r shown_w shown_h < <(awk -v w="$1" -v h="$2" 'BEGIN {
        s = 1; if (w > 1600 || h > 1200) { s = (1600 / w < 1200 / h) ? 1600 / w : 1200 / h }
        printf "%d %d\n", int(w * s + 0.5), int(h * s + 0.5) }')
    fit=()
    resize=()
    if ((shown_w != $1 || shown_h != $2)); then
        fit=(--fit 1600x1200)
        resize=(-resize 1600x1200)
    fi
}
frame_photo 1600 1200

# magick_frame PHOTO OUTPUT: the same picture through one ImageMagick command (margins 20/10/5).
magick_frame() {
    convert "$1" "${resize[@]}" -bordercolor '#C0C0C0' -border 3 \
        -background black -gravity north -splice 0x46 -gravity south -splice 0x62 \
        -gravity center -extent "$((shown_w + 46))x$((shown_h + 114))" \
        -font "$frame_font" -fill white -gravity northwest -pointsize 16 -annotate +10+10 'M42 オリオン大星雲' \
        -pointsize 10 -gravity northeast -annotate +10+16 '2001/12/25 22:30 JST' \
        -gravity northwest -annotate +10+$((shown_h + 58)) '鏡筒: 10cm 屈折 (f=640mm)  カメラ: 冷却CMOS' \
        -annotate +10+$((shown_h + 71)) '露出 300秒 x 8枚 加算平均  ISO 800' \
        -gravity northeast -annotate +10+$((shown_h + 84)) '撮影地: 長野県 入笠山' \
        -type TrueColor BMP3:"$2"
}
