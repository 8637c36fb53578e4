# The framed picture the ImageMagick comparisons make both ways (sourced by them): a 1600 x 1200
# photo, 3-pixel border, black background, header and three footer lines in IPAGothic, 24-bit BMP.

# frame_template FILE: the template morvel-compose draws it from.
frame_template() {
    printf '\xEF\xBB\xBF' > "$1"
    cat >> "$1" <<'KVL'
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
}

frame_font=$(fc-match -f '%{file}' 'IPAGothic')

# magick_frame PHOTO OUTPUT: the same picture through one ImageMagick command (margins 20/10/5).
magick_frame() {
    convert "$1" -bordercolor '#C0C0C0' -border 3 \
        -background black -gravity north -splice 0x46 -gravity south -splice 0x62 \
        -gravity center -extent 1646x1314 \
        -font "$frame_font" -fill white -gravity northwest -pointsize 16 -annotate +10+10 'M42 オリオン大星雲' \
        -pointsize 10 -gravity northeast -annotate +10+16 '2001/12/25 22:30 JST' \
        -gravity northwest -annotate +10+1258 '鏡筒: 10cm 屈折 (f=640mm)  カメラ: 冷却CMOS' \
        -annotate +10+1271 '露出 300秒 x 8枚 加算平均  ISO 800' \
        -gravity northeast -annotate +10+1284 '撮影地: 長野県 入笠山' \
        -type TrueColor BMP3:"$2"
}
