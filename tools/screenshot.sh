#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window with a composed picture, taken from the program
# itself under Xvfb. Usage: tools/screenshot.sh [BUILD_DIR] (default build/release).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$root/build/release"}
program="$build_dir/src/morvel"
[ -x "$program" ] || { echo "No $program: build first (./run.sh or tools/setup.sh)." >&2; exit 1; }
for tool in xvfb-run import python3; do
    command -v "$tool" >/dev/null || { echo "Needs $tool (xvfb, imagemagick, python3)." >&2; exit 1; }
done

# A portable install in a temporary folder: the program's folder holds its settings and template.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/morvel"

python3 - "$work" <<'PY'
import sys, pathlib
folder = pathlib.Path(sys.argv[1])
# The window's rectangle in twips (15 per pixel at 96 dpi): 1040 x 640 pixels at (20, 20).
(folder / "nolt.ini").write_bytes(
    "[Common]\r\nSavepos=1\r\nx=300\r\ny=300\r\nwidth=15600\r\nheight=9600\r\n".encode("ascii"))
items = [
    ("M42 オリオン大星雲", "ＭＳ Ｐゴシック", 16, 0xFFFFFF, True, 0),
    ("", "ＭＳ ゴシック", 11, 0xC0E0FF, False, 2),
    ("FSQ-106ED + EOS 60Da  ISO1600 300秒 x 12枚", "ＭＳ Ｐゴシック", 11, 0xFFFFFF, False, 1),
    ("撮影地: 長野県 入笠山", "ＭＳ Ｐ明朝", 11, 0xA0FFFF, False, 3),
    ("Morvel", "ＭＳ Ｐゴシック", 9, 0x80C080, True, 2),
]
lines = ["[Frame]", "PhotoSize=480x360", "Background=0x201008", "BorderColor=0xE0E0E0",
         "BorderWidth=2"]
for i, (text, face, size, color, bold, align) in enumerate(items):
    lines += [f"[Header-{i}]", f"Data={text}", f"FontName={face}", f"FontSize={size}",
              f"FontColor=0x{color:X}", f"FontBold={'True' if bold else 'False'}",
              "FontItalic=False", "FontStrikethru=False", "FontUnderline=False",
              f"FontAlign={align}"]
(folder / "default.kvl").write_bytes(("\r\n".join(lines) + "\r\n").encode("cp932"))
PY

out="$root/docs/screenshot.png"
LANG=ja_JP.UTF-8 xvfb-run -a -s "-screen 0 1100x700x24 -dpi 96" bash -c '
    "$1/morvel" &
    pid=$!
    sleep 3
    import -window root -crop 1040x640+20+20 +repage "$2"
    kill "$pid"
' _ "$work" "$out"
echo "Wrote $out"
