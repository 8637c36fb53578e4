#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window with a composed picture and a photo in its frame,
# taken under Xvfb. The photo is a star field with a nebula drawn by this script; it is dropped on
# the preview canvas as a file manager would drop it.
# Usage: tools/screenshot.sh [BUILD_DIR] [DIALOG_DIR] [ja|en]
#   BUILD_DIR  default build/release; the screenshot programs (tools/screenshots) are switched on
#              there and built.
#   DIALOG_DIR when given (and not empty), every dialog is also opened through the window's
#              commands and taken with each one up, into this folder. The word "choices" instead
#              takes the choices beyond the 1:1 window into docs (docs/en in English): a 1600 x
#              1200 photo in the fitted view at the window's first-start size, the save dialog's
#              file types and full-width digits in the year box. The word "sky" takes the
#              solved caption with the overlay and the overlay's dialog into docs (docs/en).
#   ja|en      the language of the window (the settings' "Language"), Japanese by default. In
#              English the template's texts are English too, and the main window goes to
#              docs/en/main.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$root/build/release"}
dialog_dir=${2:-}
lang=${3:-ja}
case "$lang" in ja | en) ;; *) echo "The language is ja or en, not $lang." >&2; exit 2 ;; esac
if [ -f "$build_dir/CMakeCache.txt" ]; then
    cmake -B "$build_dir" -DMORVEL_BUILD_SCREENSHOTS=ON >/dev/null
else
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVEL_BUILD_TESTS=OFF \
        -DMORVEL_BUILD_BENCH=OFF -DMORVEL_BUILD_SCREENSHOTS=ON >/dev/null
fi
cmake --build "$build_dir" --target app_screenshots
harness="$build_dir/tools/app_screenshots"
for tool in xvfb-run import python3; do
    command -v "$tool" >/dev/null || { echo "Needs $tool (xvfb, imagemagick, python3)." >&2; exit 1; }
done

# The program's folder in a temporary place: it holds the settings, the start-up template and
# the photo.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$lang" <<'PY'
import math, pathlib, random, struct, sys
folder = pathlib.Path(sys.argv[1])
english = sys.argv[2] == "en"

# The window's rectangle in twips (15 per pixel at 96 dpi): 1040 x 640 pixels at (20, 20).
(folder / "nolt.ini").write_bytes(
    ("[Common]\r\nSavepos=1\r\nx=300\r\ny=300\r\nwidth=15600\r\nheight=9600\r\n"
     + ("[View]\r\nLanguage=1\r\n" if english else "")).encode("ascii"))
texts = (["M42 Orion Nebula", "106mm refractor + cooled CMOS  ISO1600 300 s x 12",
          "Site: highland observatory"] if english else
         ["M42 オリオン大星雲", "口径106mm 屈折 + 冷却CMOS  ISO1600 300秒 x 12枚",
          "撮影地: 高原の観測所"])
items = [
    (texts[0], "ＭＳ Ｐゴシック", 16, 0xFFFFFF, True, 0),
    ("", "ＭＳ ゴシック", 11, 0xC0E0FF, False, 2),
    (texts[1], "ＭＳ Ｐゴシック", 11, 0xFFFFFF, False, 1),
    (texts[2], "ＭＳ Ｐ明朝", 11, 0xA0FFFF, False, 3),
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

# The photo: 480 x 360, a glowing nebula of a few soft lobes with dark lanes, and stars.
W, H = 480, 360
rng = random.Random(1042)
lobes = [  # centre x, centre y, radius x, radius y, (r, g, b) at the core
    (250, 170, 120, 85, (230, 70, 110)),
    (220, 200, 70, 50, (255, 150, 170)),
    (300, 140, 90, 60, (90, 80, 210)),
    (240, 185, 25, 20, (255, 235, 220)),
]
lanes = [(205, 150, 60, 14, -0.5), (285, 215, 70, 12, 0.4)]
img = bytearray(W * H * 3)
for y in range(H):
    for x in range(W):
        r = 6.0 + 4.0 * math.sin(x * 0.013 + y * 0.007)
        g = 7.0 + 3.0 * math.sin(x * 0.009 - y * 0.011)
        b = 16.0 + 5.0 * math.sin(x * 0.004 + y * 0.015)
        wisp = 0.75 + 0.25 * math.sin(x * 0.045 + 2.0 * math.sin(y * 0.03)) * math.cos(y * 0.05)
        shade = 1.0
        for (lx, ly, length, width, slope) in lanes:
            dx, dy = x - lx, y - ly - slope * (x - lx)
            shade -= 0.7 * math.exp(-(dx * dx) / (2 * length * length) - (dy * dy) / (2 * width * width))
        shade = max(shade, 0.15)
        for (cx, cy, rx, ry, (cr, cg, cb)) in lobes:
            d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
            k = math.exp(-1.6 * d) * wisp * shade
            r += cr * k
            g += cg * k
            b += cb * k
        i = ((H - 1 - y) * W + x) * 3
        img[i:i + 3] = bytes((min(255, int(b)), min(255, int(g)), min(255, int(r))))

def star(cx, cy, bright, radius, tint):
    span = int(radius * 3) + 1
    for y in range(max(0, cy - span), min(H, cy + span + 1)):
        for x in range(max(0, cx - span), min(W, cx + span + 1)):
            k = bright * math.exp(-((x - cx) ** 2 + (y - cy) ** 2) / (2 * radius * radius))
            i = ((H - 1 - y) * W + x) * 3
            for c, t in enumerate(tint):
                img[i + c] = min(255, img[i + c] + int(k * t))

for _ in range(900):
    star(rng.randrange(W), rng.randrange(H), rng.uniform(60, 200), 0.6,
         (1.0, rng.uniform(0.85, 1.0), rng.uniform(0.8, 1.0)))
for _ in range(40):
    star(rng.randrange(W), rng.randrange(H), rng.uniform(200, 255), rng.uniform(1.0, 1.8),
         (rng.uniform(0.8, 1.0), rng.uniform(0.9, 1.0), 1.0))
row = W * 3
header = struct.pack("<2sIHHI", b"BM", 54 + len(img), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(img), 3780, 3780, 0, 0)
(folder / "m42.bmp").write_bytes(header + info + bytes(img))
PY

if [ "$dialog_dir" = sky ]; then
    # The fill solves the photo's field; the template draws the overlay. Into docs (docs/en).
    printf '[Common]\r\nSavepos=1\r\nx=300\r\ny=300\r\nwidth=15600\r\nheight=9600\r\n' \
        >"$work/nolt.ini"
    if [ "$lang" = en ]; then printf '[View]\r\nLanguage=1\r\n' >>"$work/nolt.ini"; fi
    printf '[Caption]\r\nLine1={RA} {DEC}  {FOV}  {SCALE}\r\nLine2=[{OBJECTS}]\r\n' \
        >>"$work/nolt.ini"
    printf '[Sky]\r\nSolveField=1\r\n' >>"$work/nolt.ini"
    printf '[Sky]\r\nOverlay=True\r\nCorner=3\r\nFontSize=9\r\nColor=0xA0FFFF\r\n' \
        >>"$work/default.kvl"
    out="$root/docs"
    [ "$lang" = en ] && out="$root/docs/en"
    locale=ja_JP.UTF-8
    [ "$lang" = en ] && locale=en_US.UTF-8
    LANG=$locale xvfb-run -a -s "-screen 0 1100x700x24 -dpi 96" "$harness" sky "$work" "$out"
    exit 0
fi

if [ "$dialog_dir" = choices ]; then
    # A first start (no stored window rectangle) with the fitted view on, and the photo enlarged
    # to 1600 x 1200.
    printf '[View]\r\nFitWindow=1\r\n%s' "$([ "$lang" = en ] && printf 'Language=1\r\n')" \
        >"$work/nolt.ini"
    convert "$work/m42.bmp" -resize 1600x1200! BMP3:"$work/m42-large.bmp"
    out="$root/docs"
    [ "$lang" = en ] && out="$root/docs/en"
    locale=ja_JP.UTF-8
    [ "$lang" = en ] && locale=en_US.UTF-8
    LANG=$locale xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" \
        "$harness" choices "$work" "$work/m42-large.bmp" "$out"
    exit 0
fi

out="$root/docs/screenshot.png"
locale=ja_JP.UTF-8
if [ "$lang" = en ]; then
    out="$root/docs/en/main.png"
    locale=en_US.UTF-8
    mkdir -p "$root/docs/en"
fi
LANG=$locale xvfb-run -a -s "-screen 0 1100x700x24 -dpi 96" bash -c '
    "$1" window "$2" "$2/m42.bmp" &
    pid=$!
    sleep 4
    import -window root -crop 1040x640+20+20 +repage "$3"
    kill "$pid"
' _ "$harness" "$work" "$out"
echo "Wrote $out"

if [ -n "$dialog_dir" ]; then
    mkdir -p "$dialog_dir"
    LANG=$locale xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
        "$harness" dialogs "$work" "$work/m42.bmp" "$dialog_dir"
fi
