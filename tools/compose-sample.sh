#!/usr/bin/env bash
# Shows the main job without a window: generates a sample photo and a template, composes the
# framed picture with morvel-compose and says where it went.
# Usage: tools/compose-sample.sh BUILD_DIR
set -euo pipefail
build_dir=${1:?usage: compose-sample.sh BUILD_DIR}
out_dir="$build_dir/sample"
mkdir -p "$out_dir"

"$build_dir/bench/make-sample-photo" "$out_dir/m42.jpg" 800 600 2>/dev/null

# A template in UTF-8 with its byte-order mark, which the program reads as well as code page 932.
printf '\xEF\xBB\xBF' > "$out_dir/sample.kvl"
cat >> "$out_dir/sample.kvl" <<'KVL'
[Frame]
PhotoSize=800x600
Background=0x0
BorderColor=0xC0C0C0
BorderWidth=3
[Header-0]
Data=M42 オリオン大星雲
FontName=ＭＳ Ｐゴシック
FontSize=16
FontColor=0xFFFFFF
FontBold=True
FontItalic=False
FontStrikethru=False
FontUnderline=False
FontAlign=0
[Header-1]
Data=
FontName=ＭＳ ゴシック
FontSize=10
FontColor=0xFFFFFF
FontBold=False
FontItalic=False
FontStrikethru=False
FontUnderline=False
FontAlign=0
Month=11
Day=24
Year=2001
Time=22:30 JST
[Header-2]
Data=鏡筒: 10cm 屈折 (f=640mm)  カメラ: 冷却CMOS
FontName=ＭＳ ゴシック
FontSize=10
FontColor=0xE0E0E0
FontBold=False
FontItalic=False
FontStrikethru=False
FontUnderline=False
FontAlign=0
[Header-3]
Data=露出 300秒 x 8枚 加算平均  ISO 800
FontName=ＭＳ ゴシック
FontSize=10
FontColor=0xE0E0E0
FontBold=False
FontItalic=False
FontStrikethru=False
FontUnderline=False
FontAlign=3
[Header-4]
Data=撮影地: 長野県 入笠山
FontName=ＭＳ 明朝
FontSize=11
FontColor=0x80FFFF
FontBold=False
FontItalic=True
FontStrikethru=False
FontUnderline=False
FontAlign=2
KVL

"$build_dir/src/morvel-compose" --template "$out_dir/sample.kvl" --photo "$out_dir/m42.jpg" \
    --output "$out_dir/m42-framed.png"
echo "Framed picture written to $out_dir/m42-framed.png (photo $out_dir/m42.jpg, template $out_dir/sample.kvl)."
