<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutDialog</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Morvel</translation>
    </message>
    <message>
        <source>天体写真に枠と文字を付けて仕上げます</source>
        <translation>Frames and captions astronomical photos</translation>
    </message>
    <message>
        <source>Morvel 使い方</source>
        <translation>User manual</translation>
    </message>
    <message>
        <source>#</source>
        <comment>the anchor of the manual&apos;s part in this language</comment>
        <translation>#english</translation>
    </message>
</context>
<context>
    <name>AlignButton</name>
    <message>
        <source>左揃え</source>
        <translation>Align Left</translation>
    </message>
    <message>
        <source>中央揃え</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>右揃え</source>
        <translation>Align Right</translation>
    </message>
    <message>
        <source>上項目の左</source>
        <translation>Left Edge of Line Above</translation>
    </message>
    <message>
        <source>上項目の右</source>
        <translation>Right Edge of Line Above</translation>
    </message>
</context>
<context>
    <name>AppSettings</name>
    <message>
        <source>[{TELESCOP} + ]{INSTRUME}[{LensModel} + ]{Model}[ (f={FOCALLEN}mm)][ (f={FocalLength}mm)]</source>
        <translation>[{TELESCOP} + ]{INSTRUME}[{LensModel} + ]{Model}[ (f={FOCALLEN}mm)][ (f={FocalLength}mm)]</translation>
    </message>
    <message>
        <source>[{EXPTIME}秒][ x {STACKCNT}枚 (計 {TOTAL})][ Gain {GAIN}][ {CCD-TEMP}℃][{ExposureTime}秒][ F{FNumber}][ ISO{ISO}]</source>
        <translation>[{EXPTIME} s][ x {STACKCNT} (total {TOTAL})][ Gain {GAIN}][ {CCD-TEMP}°C][{ExposureTime} s][ f/{FNumber}][ ISO {ISO}]</translation>
    </message>
    <message>
        <source>[フィルター: {FILTER}  ][撮影: {OBSERVER}][撮影: {Artist}]</source>
        <translation>[Filter: {FILTER}  ][Photo: {OBSERVER}][Photo: {Artist}]</translation>
    </message>
    <message>
        <source>フォルダ %1 を作成できません。</source>
        <translation>Cannot create the folder %1.</translation>
    </message>
</context>
<context>
    <name>AppTexts</name>
    <message>
        <source>保存エラー</source>
        <translation>Save Error</translation>
    </message>
    <message>
        <source>ファイル「%1」を保存しました。</source>
        <translation>Saved &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>Canvas</name>
    <message>
        <source>フォントサイズ %1 は使えません（%2～%3）。</source>
        <translation>Font size %1 cannot be used (%2 to %3).</translation>
    </message>
</context>
<context>
    <name>CaptionFill</name>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1分</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1時間</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1時間%2分</source>
        <translation>%1 h %2 min</translation>
    </message>
</context>
<context>
    <name>Cfitsio</name>
    <message>
        <source>FITS を読むライブラリ cfitsio を読み込めません: %1</source>
        <translation>Cannot load cfitsio, the library that reads FITS files: %1</translation>
    </message>
</context>
<context>
    <name>ColorChooser</name>
    <message>
        <source>色の選択</source>
        <translation>Select Color</translation>
    </message>
</context>
<context>
    <name>ComposeCommand</name>
    <message>
        <source>「%1」が見つかりません。</source>
        <translation>&quot;%1&quot; not found.</translation>
    </message>
    <message>
        <source>「%1」はﾌｧｲﾙではありません。</source>
        <translation>&quot;%1&quot; is not a file.</translation>
    </message>
    <message>
        <source>「%1」を読めません。</source>
        <translation>Cannot read &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>詳しくは morvel-compose --help</source>
        <translation>See morvel-compose --help</translation>
    </message>
    <message>
        <source>設定ﾌｧｲﾙ「%1」を読めません: %2</source>
        <translation>Cannot read the settings file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>テンプレート「%1」を読めません: %2</source>
        <translation>Cannot read the template &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>枠の大きさ %1x%2: %3</source>
        <translation>Frame size %1x%2: %3</translation>
    </message>
    <message>
        <source>%1 (%2x%3): %4</source>
        <translation>%1 (%2x%3): %4</translation>
    </message>
    <message>
        <source> --fit 1600x1200 で縮小できます。</source>
        <translation> --fit 1600x1200 shrinks it.</translation>
    </message>
    <message>
        <source>出力フォルダ「%1」を作れません。</source>
        <translation>Cannot create the output folder &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>%1: 「%2」は同じ実行で既に書きました。写真の名前が重なっています。</source>
        <translation>%1: &quot;%2&quot; was already written in this run; two photos have the same name.</translation>
    </message>
    <message>
        <source>%1 枚中 %2 枚が失敗しました。</source>
        <translation>%2 of %1 photos failed.</translation>
    </message>
    <message>
        <source>サブフレームのヘッダを読んでいます: %1/%2</source>
        <translation>Reading the sub-frames&apos; headers: %1/%2</translation>
    </message>
    <message>
        <source>「%1」には写真の情報がありません。</source>
        <translation>&quot;%1&quot; holds no photo data.</translation>
    </message>
    <message>
        <source>「%1」は入力の写真「%2」と同じﾌｧｲﾙです。写真に上書きしません。</source>
        <translation>&quot;%1&quot; is the same file as the input photo &quot;%2&quot;; the photo is not overwritten.</translation>
    </message>
    <message>
        <source>使い方:
  morvel-compose [--settings FILE] [--template FILE] [--fill-from-photo]
                 [--subframes DIR|FILE]... [--set 名前=値]... [--photo FILE]
                 --output FILE
  morvel-compose [--settings FILE] [--template FILE] [--fill-from-photo]
                 [--subframes DIR|FILE]... [--set 名前=値]... --output-dir DIR
                 [--format bmp|png|jpg] [-j N] PHOTO...
  morvel-compose --print-metadata PHOTO [--subframes DIR|FILE]...
  最初の二つには [--fit WxH] を、どれにも [--lang ja|en] と
  [--solve [--solve-timeout S] [--require-solve]] を付けられます。

写真を枠に入れた画像を作ります。画面の「Preview...」と同じ画像です: 起動時の設定、
テンプレート（日付と時刻を含む）、写真の情報（--fill-from-photo）、--set の値の順に
当てはめて描きます。

  --settings FILE    設定ﾌｧｲﾙ（既定: 設定フォルダの nolt.ini。無ければ既定値）
  --template FILE    テンプレート（既定: 設定フォルダの default.kvl。
                     無ければ起動時の既定値）
  --photo FILE       写真（BMP、JPEG、GIF、WMF、EMF、FITS、TIFF、PNG）。省略すると
                     写真なしで、テンプレートの枠の大きさで描きます
  --output FILE      出力ﾌｧｲﾙ。.png は PNG、.jpg/.jpeg は JPEG（設定の Quality）、
                     それ以外は名前どおりの BMP
  --output-dir DIR   まとめて作る: 写真ごとに DIR/&lt;写真の名前&gt;.bmp を書きます。
                     失敗した写真を報告して残りを続けます
  --format FMT       --output-dir の形式: bmp（既定）、png、jpg
  -j N, --jobs N     --output-dir で同時に作る数（既定: CPU のコア数）。
                     メッセージは写真の順に出て、画像は一つずつ作るときと同じです
  --fit WxH          この実行では、WxH より大きな写真を縦横比を保って縮小します
                     （50x50 から 1600x1200 まで。既定は設定ﾌｧｲﾙの「大きな写真を
                     縮小する」）
  --fill-from-photo  写真ごとに、写真の情報（FITS ヘッダ、EXIF）を入力してから描きます。
                     --subframes が無く、テンプレートの [Subframes] Folder のフォルダが
                     あれば（相対パスはテンプレートのﾌｧｲﾙから）、そのサブフレームも
                     集計します
  --no-metadata      PNG と JPEG に説明文、撮影日時、空の位置（XMP）と sRGB の
                     プロファイルを書き込みません（設定ﾌｧｲﾙの [Save] Metadata=0 と同じ）
  --subframes DIR|FILE  サブフレームのフォルダ（中のフォルダも）かﾌｧｲﾙ（何度でも）。
                     FITS とカメラのﾌｧｲﾙ（JPEG、TIFF、RAW）のヘッダだけを読み（XISF
                     はまだ読めず、読めないﾌｧｲﾙに数えます）、
                     ダーク、フラット、バイアスを除いたライトフレームを集計して
                     {INTEGRATION} などに入れます。--fill-from-photo を含みます
  --solve            写真の写野を astrometry.net で求め（FITS ヘッダの WCS があれば
                     それを使い、結果はキャッシュします）、{TARGET} {RA} {DEC} {FOV}
                     {SCALE} {NORTH} {OBJECTS} に入れます。対象名が空なら {TARGET}
                     が入ります。テンプレートの [Sky] が Overlay=True なら方位、
                     スケールと天体名を写真に描きます。--fill-from-photo を含みます。
                     求められない写真も警告して描きます
  --solve-timeout S  写真一枚の解析の制限時間（秒。既定: 設定ﾌｧｲﾙ、60）
  --require-solve    --solve で、写野を求められない写真を失敗にします
  --set 名前=値      テンプレートの値を一つ変えます（何度でも）。名前はテンプレート
                     ﾌｧｲﾙの [セクション] とキー:
                     --set Header-0.Data=&quot;M42 オリオン大星雲&quot;
                     --set Frame.BorderWidth=3  --set Header-2.FontColor=#FFD080
                     --set Header-3.FontBold=True（色は 0xBBGGRR か #RRGGBB）
                     セクションと行: Header-0 対象名、Header-1 日付と時刻、
                     Header-2、Header-3、Header-4 フッタの1行目から3行目、Frame 枠
  --print-metadata PHOTO  写真の情報を、差し込み名と値を一行ずつ書き出します
  --lang ja|en       メッセージの言語。既定はロケールに従い、LC_ALL、LC_MESSAGES、
                     LANG の最初に設定されたものが日本語なら日本語、ほかは英語。
                     {TOTAL} と既定のパターンの言葉もこの言語になります
  --help             この説明

写真の情報の入力: 対象名に OBJECT、日付と時刻に DATE-OBS（UTC をこの計算機の時刻
に直します）、DATE-LOC か EXIF の撮影日時、フッタの3行に設定の3つのパターンを
使います。パターンの {名前} に値が入ります:
  FITS: {OBJECT} {DATE-OBS} {DATE-LOC} {EXPTIME} {STACKCNT} {TOTAL} {TELESCOP}
        {INSTRUME} {FOCALLEN} {APTDIA} {FILTER} {GAIN} {CCD-TEMP} {XBINNING}
        {OBSERVER} {SITELAT} {SITELONG}   （{TOTAL} = EXPTIME x STACKCNT）
  EXIF: {DateTimeOriginal} {OffsetTimeOriginal} {Make} {Model} {LensModel}
        {FocalLength} {FNumber} {ExposureTime} {ISO} {Artist}
  サブフレーム: {INTEGRATION}（L 36×300秒 Ha 24×600秒 計7時間00分）{SUBS}（枚数）
        {NIGHTS}（夜の数）{FIRST_NIGHT} {LAST_NIGHT}（最初と最後の夜の日付。夜は正午
        から正午まで）。--subframes が無ければ、スタックした写真自身の STACKCNT
        （NCOMBINE）、EXPTIME、LIVETIME（TOTALEXP）から {INTEGRATION} と {SUBS} が
        入ります
[ ] で囲んだ部分は、中の値がすべてあるときだけ入ります。値が一つも入らない行と、
情報のない欄は元のままです。例: OBJECT=&apos;M42&apos;、DATE-OBS=&apos;2026-01-15T13:05:30&apos;、
TELESCOP=&apos;R106 refractor&apos;、INSTRUME=&apos;C26 cooled CMOS&apos;、EXPTIME=300、
STACKCNT=24、GAIN=100 の FITS は、日本の時刻で
  M42                                          2026/01/15 22:05 JST
  R106 refractor + C26 cooled CMOS
  300秒 x 24枚 (計 2時間) Gain 100
になります（3行目は元のまま）。

出力が入力の写真（--subframes のﾌｧｲﾙも）と同じﾌｧｲﾙになるときは、その写真の画像を
書かずに失敗とします。
終了コード: 0 成功、1 写真かﾌｧｲﾙの失敗（一つでも）、2 使い方の誤り。
写真の大きさは 50x50 から 1600x1200 までです。FITS の表示の伸張は設定ﾌｧｲﾙに従います。
</source>
        <translation>Usage:
  morvel-compose [--settings FILE] [--template FILE] [--fill-from-photo]
                 [--subframes DIR|FILE]... [--set NAME=VALUE]... [--photo FILE]
                 --output FILE
  morvel-compose [--settings FILE] [--template FILE] [--fill-from-photo]
                 [--subframes DIR|FILE]... [--set NAME=VALUE]... --output-dir DIR
                 [--format bmp|png|jpg] [-j N] PHOTO...
  morvel-compose --print-metadata PHOTO [--subframes DIR|FILE]...
  The first two also take [--fit WxH]; all of them take [--lang ja|en] and
  [--solve [--solve-timeout S] [--require-solve]].

Makes the picture of a photo in its frame, the same picture as the window&apos;s &quot;Preview...&quot;:
the start-up values, the template (its date and time included), the photo&apos;s data
(--fill-from-photo) and the --set values are applied in that order.

  --settings FILE    settings file (default: nolt.ini in the settings folder; built-in
                     defaults when it is missing)
  --template FILE    template (default: default.kvl in the settings folder; the
                     start-up values when it is missing)
  --photo FILE       photo (BMP, JPEG, GIF, WMF, EMF, FITS, TIFF, PNG); without it the
                     frame is drawn empty, at the template&apos;s frame size
  --output FILE      output file: PNG for .png, JPEG for .jpg/.jpeg (the settings&apos;
                     Quality), otherwise BMP under exactly that name
  --output-dir DIR   batch: writes DIR/&lt;photo&apos;s name&gt;.bmp for each photo; a photo that
                     fails is reported and the others go on
  --format FMT       the format of --output-dir: bmp (default), png, jpg
  -j N, --jobs N     how many pictures --output-dir makes at once (default: the number
                     of CPU cores); messages come in the photos&apos; order and the pictures
                     are the same as made one at a time
  --fit WxH          for this run, shrinks photos larger than WxH, keeping the aspect
                     ratio (50x50 to 1600x1200; default: the settings file&apos;s &quot;Shrink
                     large photos&quot;)
  --fill-from-photo  fills in each photo&apos;s data (FITS header, EXIF) before drawing.
                     Without --subframes, the sub-frames of the template&apos;s [Subframes]
                     Folder are summed up too when that folder exists (a relative path
                     is taken from the template file&apos;s folder)
  --no-metadata      writes PNG and JPEG files without their caption, date and sky
                     position (XMP) and sRGB profile (as [Save] Metadata=0 in the
                     settings file does)
  --subframes DIR|FILE  a folder of sub-frames (its folders too) or a sub-frame file
                     (any number of times). Reads only the headers of FITS and camera
                     files (JPEG, TIFF, raw; XISF files cannot be read yet and count as
                     unreadable), sums up the light frames, leaving out darks, flats and
                     bias frames, and fills {INTEGRATION} and the others. Includes
                     --fill-from-photo
  --solve            finds each photo&apos;s field with astrometry.net (the WCS of a FITS
                     header when it has one; results are cached) and fills {TARGET}
                     {RA} {DEC} {FOV} {SCALE} {NORTH} {OBJECTS}; an empty target name
                     takes {TARGET}. With Overlay=True in the template&apos;s [Sky], draws
                     a compass, a scale bar and the objects&apos; names on the photo.
                     Includes --fill-from-photo. A photo that cannot be solved is
                     drawn all the same, with a warning
  --solve-timeout S  the time limit of one solve in seconds (default: the settings
                     file&apos;s, 60)
  --require-solve    with --solve, a photo that cannot be solved fails
  --set NAME=VALUE   changes one template value (any number of times); NAME is the
                     template file&apos;s [section] and key:
                     --set Header-0.Data=&quot;M42 Orion Nebula&quot;
                     --set Frame.BorderWidth=3  --set Header-2.FontColor=#FFD080
                     --set Header-3.FontBold=True (colours as 0xBBGGRR or #RRGGBB)
                     Sections and lines: Header-0 target, Header-1 date and time,
                     Header-2, Header-3, Header-4 footer lines 1 to 3, Frame the frame
  --print-metadata PHOTO  writes the photo&apos;s data, one placeholder name and value a line
  --lang ja|en       the language of the messages; by default the locale&apos;s: Japanese
                     when the first of LC_ALL, LC_MESSAGES and LANG that is set is
                     Japanese, English otherwise. The words of {TOTAL} and of the
                     default patterns follow it too
  --help             this help

Filling in the photo&apos;s data: the target name from OBJECT, the date and time from
DATE-OBS (UTC, turned into this computer&apos;s time), DATE-LOC or the EXIF date taken,
and the three footer lines from the three patterns of the settings. A pattern&apos;s
{NAME} takes a value:
  FITS: {OBJECT} {DATE-OBS} {DATE-LOC} {EXPTIME} {STACKCNT} {TOTAL} {TELESCOP}
        {INSTRUME} {FOCALLEN} {APTDIA} {FILTER} {GAIN} {CCD-TEMP} {XBINNING}
        {OBSERVER} {SITELAT} {SITELONG}   ({TOTAL} = EXPTIME x STACKCNT)
  EXIF: {DateTimeOriginal} {OffsetTimeOriginal} {Make} {Model} {LensModel}
        {FocalLength} {FNumber} {ExposureTime} {ISO} {Artist}
  Sub-frames: {INTEGRATION} (L 36×300 s, Ha 24×600 s, total 7 h 00 m), {SUBS} (the
        number of frames), {NIGHTS} (the number of nights), {FIRST_NIGHT} and
        {LAST_NIGHT} (the dates of the first and last night; a night runs from noon
        to noon). Without --subframes, {INTEGRATION} and {SUBS} come from a stacked
        photo&apos;s own STACKCNT (NCOMBINE), EXPTIME and LIVETIME (TOTALEXP)
A part in [ ] is written only when all its values are there. A line that gets no
value at all, and a field without data, stay as they were. For example, a FITS file
with OBJECT=&apos;M42&apos;, DATE-OBS=&apos;2026-01-15T13:05:30&apos;, TELESCOP=&apos;R106 refractor&apos;,
INSTRUME=&apos;C26 cooled CMOS&apos;, EXPTIME=300, STACKCNT=24 and GAIN=100 gives, on a
computer in Japan time,
  M42                                          2026/01/15 22:05 JST
  R106 refractor + C26 cooled CMOS
  300 s x 24 (total 2 h) Gain 100
(the third line stays as it was).

When an output would be the same file as an input photo (or a --subframes file),
that photo&apos;s picture is not written and the photo fails.
Exit status: 0 success, 1 a photo or file failed (one is enough), 2 usage error.
Photos can be 50x50 to 1600x1200 pixels. FITS data is stretched as the settings say.
</translation>
    </message>
</context>
<context>
    <name>ComposeOptions</name>
    <message>
        <source>知らないオプション: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>%1 の後に値がありません。</source>
        <translation>%1 needs a value.</translation>
    </message>
    <message>
        <source>%1 の値が空です。</source>
        <translation>The value of %1 is empty.</translation>
    </message>
    <message>
        <source>%1 が二度あります。</source>
        <translation>%1 is given twice.</translation>
    </message>
    <message>
        <source>--lang は ja か en です: %1</source>
        <translation>--lang takes ja or en: %1</translation>
    </message>
    <message>
        <source>--fit は 50x50 から 1600x1200 までの 幅x高さ です: %1</source>
        <translation>--fit takes WIDTHxHEIGHT from 50x50 to 1600x1200: %1</translation>
    </message>
    <message>
        <source>--print-metadata は写真一つだけと使います。</source>
        <translation>--print-metadata takes one photo and nothing else.</translation>
    </message>
    <message>
        <source>--output か --output-dir のどちらか一つを指定してください。</source>
        <translation>Give either --output or --output-dir.</translation>
    </message>
    <message>
        <source>写真を並べるのは --output-dir と一緒のときだけです。--photo を使ってください。</source>
        <translation>A list of photos goes with --output-dir only; use --photo.</translation>
    </message>
    <message>
        <source>--format は --output-dir と一緒に使います（--output は拡張子で決まります）。</source>
        <translation>--format goes with --output-dir (--output takes the format from its extension).</translation>
    </message>
    <message>
        <source>-j は --output-dir と一緒に使います。</source>
        <translation>-j goes with --output-dir.</translation>
    </message>
    <message>
        <source>--fill-from-photo には写真（--photo）が必要です。</source>
        <translation>--fill-from-photo needs a photo (--photo).</translation>
    </message>
    <message>
        <source>--output-dir では写真を --photo でなく並べて指定してください。</source>
        <translation>With --output-dir, list the photos instead of using --photo.</translation>
    </message>
    <message>
        <source>--output-dir には写真が一つ以上必要です。</source>
        <translation>--output-dir needs at least one photo.</translation>
    </message>
    <message>
        <source>--format は bmp、png、jpg のどれかです: %1</source>
        <translation>--format takes bmp, png or jpg: %1</translation>
    </message>
    <message>
        <source>-j は 1 から %1 までの数です: %2</source>
        <translation>-j takes a number from 1 to %1: %2</translation>
    </message>
    <message>
        <source>--solve-timeout は 1 から 3600 までの秒数です: %1</source>
        <translation>--solve-timeout is a number of seconds from 1 to 3600: %1</translation>
    </message>
    <message>
        <source>--solve には写真（--photo）が必要です。</source>
        <translation>--solve needs a photo (--photo).</translation>
    </message>
</context>
<context>
    <name>ComposeOutcome</name>
    <message>
        <source>最大1600x1200、最小50x50の大きさまで作成可能です。</source>
        <translation>Photo sizes from 50x50 up to 1600x1200 can be used.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>計算があふれました（%1）。余白や大きさの設定を見直してください。</source>
        <translation>A calculation overflowed (%1). Check the margins and sizes.</translation>
    </message>
    <message>
        <source>大きな写真は「編集」-「全般の設定」の「大きな写真を縮小する」をオンにすると縮小して入れられます。</source>
        <translation>To frame a large photo, turn on &quot;Shrink large photos&quot; in Edit &gt; Settings.</translation>
    </message>
</context>
<context>
    <name>EditingPanel</name>
    <message>
        <source>枠の大きさ</source>
        <translation>Frame size</translation>
    </message>
    <message>
        <source>枠の太さ</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>枠の色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Canvas</translation>
    </message>
    <message>
        <source>Preview...</source>
        <translation>Preview...</translation>
    </message>
    <message>
        <source>現在日時</source>
        <translation>Now</translation>
    </message>
    <message>
        <source>現在日時を設定</source>
        <translation>Set the current date and time</translation>
    </message>
    <message>
        <source>太字</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>斜体</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>取り消し線</source>
        <translation>Strikethrough</translation>
    </message>
    <message>
        <source>下線</source>
        <translation>Underline</translation>
    </message>
</context>
<context>
    <name>FieldSolver</name>
    <message>
        <source>入力された対象「%1」は写野の外にあります。対象名はそのままにします。</source>
        <translation>The target entered, &quot;%1&quot;, lies outside the field. The target name is kept.</translation>
    </message>
</context>
<context>
    <name>FitsImage</name>
    <message>
        <source>画像のデータがありません</source>
        <translation>there is no image data</translation>
    </message>
    <message>
        <source>画像が大きすぎます</source>
        <translation>the image is too large</translation>
    </message>
    <message>
        <source>画像を作るメモリがありません</source>
        <translation>not enough memory for the image</translation>
    </message>
    <message>
        <source>%1x%2 の画像は大きすぎて読み込めません</source>
        <translation>a %1x%2 image is too large to load</translation>
    </message>
    <message>
        <source>画像を読み込むメモリがありません</source>
        <translation>not enough memory to load the image</translation>
    </message>
</context>
<context>
    <name>FitsTiles</name>
    <message>
        <source>圧縮の方法がありません</source>
        <translation>the compression type is missing</translation>
    </message>
    <message>
        <source>%1 で圧縮された画像は読み込めません</source>
        <translation>images compressed with %1 cannot be loaded</translation>
    </message>
    <message>
        <source>圧縮された画像の次元が読めません</source>
        <translation>cannot read the dimensions of the compressed image</translation>
    </message>
    <message>
        <source>圧縮された画像のタイルの大きさが正しくありません</source>
        <translation>the tile size of the compressed image is invalid</translation>
    </message>
    <message>
        <source>圧縮された画像の表が読めません</source>
        <translation>cannot read the table of the compressed image</translation>
    </message>
    <message>
        <source>圧縮された画像のタイルが読めません</source>
        <translation>cannot read a tile of the compressed image</translation>
    </message>
    <message>
        <source>圧縮された画像のデータが壊れています</source>
        <translation>the data of the compressed image is damaged</translation>
    </message>
</context>
<context>
    <name>FrameLayout</name>
    <message>
        <source>枠の太さ %1</source>
        <translation>border width %1</translation>
    </message>
    <message>
        <source>枠の太さ %1 では描けません。</source>
        <translation>A border width of %1 cannot be drawn.</translation>
    </message>
    <message>
        <source>文字の大きさ</source>
        <translation>text size</translation>
    </message>
    <message>
        <source>画像の幅</source>
        <translation>picture width</translation>
    </message>
    <message>
        <source>文字の余白</source>
        <translation>text margin</translation>
    </message>
    <message>
        <source>見出しの幅</source>
        <translation>header width</translation>
    </message>
    <message>
        <source>画像の高さ</source>
        <translation>picture height</translation>
    </message>
    <message>
        <source>下の文字の幅</source>
        <translation>footer width</translation>
    </message>
    <message>
        <source>下の文字の高さ</source>
        <translation>footer height</translation>
    </message>
    <message>
        <source>%1x%2 の大きさの画像は作れません。</source>
        <translation>A picture of %1x%2 cannot be made.</translation>
    </message>
</context>
<context>
    <name>FrameRenderer</name>
    <message>
        <source>下の文字の位置</source>
        <translation>footer position</translation>
    </message>
    <message>
        <source>上の文字の位置</source>
        <translation>header position</translation>
    </message>
    <message>
        <source>日時の位置</source>
        <translation>date position</translation>
    </message>
    <message>
        <source>枠の位置</source>
        <translation>border position</translation>
    </message>
    <message>
        <source>枠の大きさ</source>
        <translation>border size</translation>
    </message>
</context>
<context>
    <name>LoadPicture</name>
    <message>
        <source>画像ﾌｧｲﾙ「%1」を開けません: %2</source>
        <translation>Cannot open the photo file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙ「%1」を読み込めません: %2</source>
        <translation>Cannot load the photo file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙ「%1」は壊れているため、一部しか読めませんでした。</source>
        <translation>The photo file &quot;%1&quot; is damaged; only part of it could be read.</translation>
    </message>
    <message>
        <source>「%1」は読み込める画像ﾌｧｲﾙ（BMP、JPEG、GIF、WMF、EMF、FITS、TIFF、PNG）ではありません。</source>
        <translation>&quot;%1&quot; is not a photo file that can be loaded (BMP, JPEG, GIF, WMF, EMF, FITS, TIFF, PNG).</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙ「%1」は大きすぎて読み込めません。</source>
        <translation>The photo file &quot;%1&quot; is too large to load.</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙ「%1」が見つかりません。</source>
        <translation>The photo file &quot;%1&quot; was not found.</translation>
    </message>
    <message>
        <source>「%1」はﾌｧｲﾙではありません。</source>
        <translation>&quot;%1&quot; is not a file.</translation>
    </message>
    <message>
        <source>PNG の見出しが壊れています</source>
        <translation>the PNG header is damaged</translation>
    </message>
    <message>
        <source>%1x%2 の画像は大きすぎます</source>
        <translation>a %1x%2 image is too large</translation>
    </message>
    <message>
        <source>画面が %1x%2 と大きすぎます</source>
        <translation>its screen of %1x%2 is too large</translation>
    </message>
    <message>
        <source>%1x%2 に縮小するメモリがありません</source>
        <translation>not enough memory to shrink it to %1x%2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>ﾃﾝﾌﾟﾚｰﾄの読み込み(&amp;L)</source>
        <translation>&amp;Load Template...</translation>
    </message>
    <message>
        <source>ﾃﾝﾌﾟﾚｰﾄの読み込み</source>
        <translation>Load Template</translation>
    </message>
    <message>
        <source>ﾃﾝﾌﾟﾚｰﾄの保存(&amp;S)</source>
        <translation>&amp;Save Template...</translation>
    </message>
    <message>
        <source>ﾃﾝﾌﾟﾚｰﾄの保存</source>
        <translation>Save Template</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>全般の設定(&amp;S)...</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <source>全般の設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>現在の設定を起動時に表示(&amp;D)</source>
        <translation>Make Current Settings the &amp;Default</translation>
    </message>
    <message>
        <source>画像(&amp;G)</source>
        <translation>&amp;Photo</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙを読み込む(&amp;L)...</source>
        <translation>&amp;Load Photo...</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙの読み込み</source>
        <translation>Load Photo</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙを外す(&amp;R)</source>
        <translation>&amp;Remove Photo</translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙを外す</source>
        <translation>Remove Photo</translation>
    </message>
    <message>
        <source>写真の情報を入力(&amp;I)</source>
        <translation>F&amp;ill from Photo Data</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞに複写(&amp;C)</source>
        <translation>&amp;Copy to Clipboard</translation>
    </message>
    <message>
        <source>ﾌﾟﾚﾋﾞｭｰｲﾒｰｼﾞをｸﾘｯﾌﾟﾎﾞｰﾄﾞへ複写</source>
        <translation>Copy Picture to Clipboard</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙに保存(&amp;S)...</source>
        <translation>&amp;Save to File...</translation>
    </message>
    <message>
        <source>ﾌﾟﾚﾋﾞｭｰｲﾒｰｼﾞをﾌｧｲﾙに保存</source>
        <translation>Save Picture to File</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Morvel...</translation>
    </message>
    <message>
        <source>True Color (32bit)</source>
        <translation>True Color (32bit)</translation>
    </message>
    <message>
        <source>True Color (24bit)</source>
        <translation>True Color (24bit)</translation>
    </message>
    <message>
        <source>High Color (16bit)</source>
        <translation>High Color (16bit)</translation>
    </message>
    <message>
        <source> 色</source>
        <translation> colors</translation>
    </message>
    <message>
        <source>終了します。よろしいですか？</source>
        <translation>Do you want to exit Morvel?</translation>
    </message>
    <message>
        <source>終了確認</source>
        <translation>Confirm Exit</translation>
    </message>
    <message>
        <source>ﾃﾝﾌﾟﾚｰﾄﾌｧｲﾙ (*.kvl)|*.kvl|全てのﾌｧｲﾙ (*.*)|*.*</source>
        <translation>Template files (*.kvl)|*.kvl|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>写真がありません。先に画像ﾌｧｲﾙを読み込んでください。</source>
        <translation>There is no photo. Load a photo first.</translation>
    </message>
    <message>
        <source>「%1」には入力できる写真の情報がありません。</source>
        <translation>&quot;%1&quot; holds no photo data to fill in.</translation>
    </message>
    <message>
        <source>写真の情報を読めませんでした: %1</source>
        <translation>Could not read the photo data: %1</translation>
    </message>
    <message>
        <source>枠の大きさ「%1」は範囲外です。%2</source>
        <translation>Frame size &quot;%1&quot; is out of range. %2</translation>
    </message>
    <message>
        <source>写真の大きさ %1x%2 は範囲外です。%3</source>
        <translation>Photo size %1x%2 is out of range. %3</translation>
    </message>
    <message>
        <source>ファイル「%1」を保存しました。「%2」を含むため UTF-8 で書いたので、古い版のプログラムでは読めません。</source>
        <translation>Saved &quot;%1&quot;. It holds &quot;%2&quot;, so it was written in UTF-8, which older versions of the program cannot read.</translation>
    </message>
    <message>
        <source>ファイル「%1」を保存できませんでした。
%2</source>
        <translation>Could not save the file &quot;%1&quot;.
%2</translation>
    </message>
    <message>
        <source>プレビューを作成できませんでした: %1</source>
        <translation>Could not compose the preview: %1</translation>
    </message>
    <message>
        <source>全体を表示(&amp;W)</source>
        <translation>&amp;Whole Picture</translation>
    </message>
    <message>
        <source>サブフレームのフォルダを選ぶ(&amp;U)...</source>
        <translation>S&amp;ub-frame Folder...</translation>
    </message>
    <message>
        <source>サブフレームのフォルダを外す(&amp;V)</source>
        <translation>&amp;Forget Sub-frame Folder</translation>
    </message>
    <message>
        <source>サブフレームのフォルダ</source>
        <translation>Sub-frame folder</translation>
    </message>
    <message>
        <source>サブフレームのフォルダを外しました。</source>
        <translation>The sub-frame folder is forgotten.</translation>
    </message>
    <message>
        <source>星図の注記(&amp;K)...</source>
        <translation>S&amp;ky Overlay...</translation>
    </message>
    <message>
        <source>写野を解析しています…（Esc で取り消し）</source>
        <translation>Solving the field… (Esc cancels)</translation>
    </message>
    <message>
        <source>写野を解析しています: %1（Esc で取り消し）</source>
        <translation>Solving the field: %1 (Esc cancels)</translation>
    </message>
    <message>
        <source>写野: %1 %2、%3</source>
        <translation>Field: %1 %2, %3</translation>
    </message>
</context>
<context>
    <name>MetafilePlayer</name>
    <message>
        <source>WMF・EMF のﾒﾀﾌｧｲﾙではありません。</source>
        <translation>Not a WMF or EMF metafile.</translation>
    </message>
    <message>
        <source>ﾒﾀﾌｧｲﾙのﾍｯﾀﾞｰが壊れています。</source>
        <translation>The metafile header is damaged.</translation>
    </message>
    <message>
        <source>ﾒﾀﾌｧｲﾙに使える画像の大きさが書かれていません。</source>
        <translation>The metafile gives no usable picture size.</translation>
    </message>
    <message>
        <source>ﾒﾀﾌｧｲﾙの大きさは %1x%2 です。描けるのは最大 %3x%4 までです。</source>
        <translation>The metafile is %1x%2; at most %3x%4 can be drawn.</translation>
    </message>
    <message>
        <source>ﾒﾀﾌｧｲﾙが大きすぎて読み込めません。</source>
        <translation>The metafile is too large to load.</translation>
    </message>
    <message>
        <source>ﾒﾀﾌｧｲﾙが壊れています: %1 ﾊﾞｲﾄ目のﾚｺｰﾄﾞがﾌｧｲﾙの終わりを越えています。</source>
        <translation>The metafile is damaged: the record at byte %1 runs past the end of the file.</translation>
    </message>
    <message>
        <source>ﾒﾀﾌｧｲﾙが途中で切れています: 終端ﾚｺｰﾄﾞがありません。</source>
        <translation>The metafile is cut short: it has no end record.</translation>
    </message>
    <message>
        <source>ﾒﾀﾌｧｲﾙの描画が多すぎて描けません。</source>
        <translation>The metafile holds too many drawing records to draw.</translation>
    </message>
</context>
<context>
    <name>PhotoMetadata</name>
    <message>
        <source>「%1」を読めません: %2</source>
        <translation>Cannot read &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>PlateSolver</name>
    <message>
        <source>写野の解析には astrometry.net とその索引ファイルが必要です。Debian のパッケージ astrometry.net、astrometry-data-tycho2-07、astrometry-data-tycho2-08、astrometry-data-tycho2-09、astrometry-data-tycho2-10-19 を入れてください。</source>
        <translation>Plate solving needs astrometry.net and its index files. Please install the Debian packages astrometry.net, astrometry-data-tycho2-07, astrometry-data-tycho2-08, astrometry-data-tycho2-09 and astrometry-data-tycho2-10-19.</translation>
    </message>
    <message>
        <source>写野を特定できませんでした: 星の並びが星図と一致しません。</source>
        <translation>Field not identified: the stars match no part of the star catalogue.</translation>
    </message>
    <message>
        <source>写野を特定できませんでした: 星図との一致が確かではありません。</source>
        <translation>Field not identified: the match with the star catalogue is not certain.</translation>
    </message>
    <message>
        <source>写野を特定できませんでした: 写野が索引ファイルの扱える大きさより小さすぎます。</source>
        <translation>Field not identified: the field is smaller than the installed index files can solve.</translation>
    </message>
    <message>
        <source>写野を特定できませんでした: 写野が大きすぎます。</source>
        <translation>Field not identified: the field is too large.</translation>
    </message>
    <message>
        <source>写野を特定できませんでした: 制限時間を過ぎました。</source>
        <translation>Field not identified: the time limit has passed.</translation>
    </message>
    <message>
        <source>写野の解析を取り消しました。</source>
        <translation>Plate solving cancelled.</translation>
    </message>
    <message>
        <source>写野の解析に失敗しました。</source>
        <translation>Plate solving failed.</translation>
    </message>
    <message>
        <source>写真の星を探しています…</source>
        <translation>Finding the stars of the photo…</translation>
    </message>
    <message>
        <source>星図と照合しています…</source>
        <translation>Matching the star catalogue…</translation>
    </message>
    <message>
        <source>星図と照合しています（%1 秒）…</source>
        <translation>Matching the star catalogue (%1 s)…</translation>
    </message>
</context>
<context>
    <name>PlatformServices</name>
    <message>
        <source>%1
フォルダが見つかりません。
フォルダ名を確かめてください。</source>
        <translation>%1
Folder not found.
Check the folder name.</translation>
    </message>
    <message>
        <source>%1
このファイルは存在しません。
ファイルを作成しますか？</source>
        <translation>%1
This file does not exist.
Do you want to create it?</translation>
    </message>
</context>
<context>
    <name>PreviewComposer</name>
    <message>
        <source>%1x%2 の大きさの画像を作るメモリがありません。</source>
        <translation>Not enough memory to make a picture of %1x%2.</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>画像ﾌｧｲﾙ |*.jpg;*.bmp;*.gif;*.wmf;*.emf;*.jpeg;*.fit;*.fits;*.fts;*.tif;*.tiff;*.png;*.xisf|</source>
        <translation>Photo files |*.jpg;*.bmp;*.gif;*.wmf;*.emf;*.jpeg;*.fit;*.fits;*.fts;*.tif;*.tiff;*.png;*.xisf|</translation>
    </message>
    <message>
        <source>Windows / OS/2 ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|</source>
        <translation>Windows / OS/2 Bitmap (*.bmp)|*.bmp|</translation>
    </message>
    <message>
        <source>JPEG (*.jpg)|*.jpg|</source>
        <translation>JPEG (*.jpg)|*.jpg|</translation>
    </message>
    <message>
        <source>CompuServe Graphics Interchange (*.gif)|*.gif|</source>
        <translation>CompuServe Graphics Interchange (*.gif)|*.gif|</translation>
    </message>
    <message>
        <source>Windows ﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf|</source>
        <translation>Windows Metafile (*.wmf)|*.wmf|</translation>
    </message>
    <message>
        <source>Windows ｴﾝﾊﾝｽﾄ ﾒﾀﾌｧｲﾙ (*.emf)|*.emf|</source>
        <translation>Windows Enhanced Metafile (*.emf)|*.emf|</translation>
    </message>
    <message>
        <source>FITS (*.fit;*.fits;*.fts)|*.fit;*.fits;*.fts|</source>
        <translation>FITS (*.fit;*.fits;*.fts)|*.fit;*.fits;*.fts|</translation>
    </message>
    <message>
        <source>TIFF (*.tif;*.tiff)|*.tif;*.tiff|</source>
        <translation>TIFF (*.tif;*.tiff)|*.tif;*.tiff|</translation>
    </message>
    <message>
        <source>PNG (*.png)|*.png|</source>
        <translation>PNG (*.png)|*.png|</translation>
    </message>
    <message>
        <source>XISF (*.xisf)|*.xisf|</source>
        <translation>XISF (*.xisf)|*.xisf|</translation>
    </message>
    <message>
        <source>全てのﾌｧｲﾙ (*.*)|*.*</source>
        <translation>All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>BMPﾌｧｲﾙ (*.bmp)|*.bmp</source>
        <translation>BMP files (*.bmp)|*.bmp</translation>
    </message>
    <message>
        <source>画像の読み込み</source>
        <translation>Load Photo</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞに複写</source>
        <translation>Copy to Clipboard</translation>
    </message>
    <message>
        <source>クリップボードを使えないため、画像を複写できませんでした。</source>
        <translation>The picture could not be copied: the clipboard is not available.</translation>
    </message>
    <message>
        <source>PNGﾌｧｲﾙ (*.png)|*.png</source>
        <translation>PNG files (*.png)|*.png</translation>
    </message>
    <message>
        <source>JPEGﾌｧｲﾙ (*.jpg)|*.jpg</source>
        <translation>JPEG files (*.jpg)|*.jpg</translation>
    </message>
</context>
<context>
    <name>SavePicture</name>
    <message>
        <source>保存する画像がありません。</source>
        <translation>There is no picture to save.</translation>
    </message>
    <message>
        <source>「%1」に保存できません: %2</source>
        <translation>Cannot save to &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>全般の設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>日付形式</source>
        <translation>Date format</translation>
    </message>
    <message>
        <source>余白</source>
        <translation>Margin</translation>
    </message>
    <message>
        <source>年月日</source>
        <translation>年月日</translation>
    </message>
    <message>
        <source>&quot;月&quot;を英語表記する</source>
        <translation>Month names in English</translation>
    </message>
    <message>
        <source>終了時の位置と大きさを保存する</source>
        <translation>Keep window position and size</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>写真</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>FITS の表示の伸張</source>
        <translation>FITS display stretch</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>線形</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>大きな写真を縮小する</source>
        <translation>Shrink large photos</translation>
    </message>
    <message>
        <source>この大きさより大きな写真を、縦横比を保って縮小します</source>
        <translation>Photos larger than this are shrunk, keeping their aspect ratio</translation>
    </message>
    <message>
        <source>ウィンドウ</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>入力するたびにプレビューする</source>
        <translation>Preview while typing</translation>
    </message>
    <message>
        <source>表示言語 (&amp;Language)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>言語は次の起動から変わります。</source>
        <translation>The language changes at the next start.</translation>
    </message>
    <message>
        <source>写真の情報から入力</source>
        <translation>Fill from photo data</translation>
    </message>
    <message>
        <source>写真を読み込んだら情報を入力する</source>
        <translation>Fill in when a photo is loaded</translation>
    </message>
    <message>
        <source>説明文 1～3 のパターン</source>
        <translation>Patterns of footer lines 1 to 3</translation>
    </message>
    <message>
        <source>{OBJECT} {TELESCOP} {INSTRUME} {EXPTIME} {STACKCNT} {TOTAL} {Model} {ISO} などに
写真の情報が入ります。[ ] の部分は、中の値がすべてあるときだけ入ります。</source>
        <translation>{OBJECT} {TELESCOP} {INSTRUME} {EXPTIME} {STACKCNT} {TOTAL} {Model} {ISO} and others
take the photo&apos;s data. A part in [ ] is written only when all its values are there.</translation>
    </message>
    <message>
        <source>既定のパターンに戻す</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>写野を解析する</source>
        <translation>Solve the field</translation>
    </message>
    <message>
        <source>astrometry.net で写真の写野を求め、{TARGET} {RA} {DEC} {FOV} {SCALE} {NORTH}
{OBJECTS} に入れます。対象名が空なら {TARGET} が入ります。</source>
        <translation>Finds the photo&apos;s field with astrometry.net for {TARGET} {RA} {DEC} {FOV} {SCALE}
{NORTH} {OBJECTS}. An empty target name takes {TARGET}.</translation>
    </message>
    <message>
        <source> 秒まで</source>
        <translation> s at most</translation>
    </message>
    <message>
        <source>PNG と JPEG に説明文、撮影日時、空の位置を書き込む</source>
        <translation>Save PNG and JPEG with caption, date and sky position</translation>
    </message>
    <message>
        <source>画像ビューアのプロパティに表題（対象名）、説明文、撮影日時、撮影者が出ます。
位置が分かる写真では、星図ソフトが画像を空に重ねられる位置 (AVM) も入ります。
BMP には書き込みません。</source>
        <translation>Image viewers show the title (the target), the caption, the date taken and the observer in the file&apos;s properties.
For a photo whose place on the sky is known, sky viewers also get its position (AVM) to lay the picture on the sky.
BMP files never carry them.</translation>
    </message>
</context>
<context>
    <name>SkyOverlayDialog</name>
    <message>
        <source>星図の注記</source>
        <translation>Sky Overlay</translation>
    </message>
    <message>
        <source>解析した写真に方位、スケールと天体名を描く</source>
        <translation>Draw a compass, a scale bar and object names on a solved photo</translation>
    </message>
    <message>
        <source>左上</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>方位とスケールの位置</source>
        <translation>Compass and scale bar in</translation>
    </message>
    <message>
        <source>方位（北と東）</source>
        <translation>Compass (north and east)</translation>
    </message>
    <message>
        <source>スケール</source>
        <translation>Scale bar</translation>
    </message>
    <message>
        <source>写野の天体名</source>
        <translation>Names of the objects in the field</translation>
    </message>
    <message>
        <source>（対象名と同じ）</source>
        <translation>(the target name&apos;s)</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colour</translation>
    </message>
</context>
<context>
    <name>SubframeHeader</name>
    <message>
        <source>FITS のヘッダが終わっていません。</source>
        <translation>The FITS header has no end.</translation>
    </message>
    <message>
        <source>カメラのﾌｧｲﾙとして読めません: %1</source>
        <translation>Not readable as a camera file: %1</translation>
    </message>
</context>
<context>
    <name>SubframeReader</name>
    <message>
        <source>サブフレームのヘッダを読んでいます...</source>
        <translation>Reading the sub-frames&apos; headers...</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>サブフレーム</source>
        <translation>Sub-frames</translation>
    </message>
</context>
<context>
    <name>SubframeSummary</name>
    <message>
        <source>見つかりません。</source>
        <translation>Not found.</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1分</source>
        <translation>%1 m</translation>
    </message>
    <message>
        <source>%1時間%2分</source>
        <translation>%1 h %2 m</translation>
    </message>
    <message>
        <source>%1×%2秒</source>
        <translation>%1×%2 s</translation>
    </message>
    <message>
        <source>%1 %2×%3秒</source>
        <translation>%1 %2×%3 s</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>groups</comment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>計%1</source>
        <translation>total %1</translation>
    </message>
    <message>
        <source>%1 計%2</source>
        <translation>%1, total %2</translation>
    </message>
    <message numerus="yes">
        <source>ダーク・フラット・バイアス %n 枚を除外</source>
        <translation>
            <numerusform>%n dark, flat or bias frame left out</numerusform>
            <numerusform>%n darks, flats and bias frames left out</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>露出時間のない %n 枚を除外</source>
        <translation>
            <numerusform>%n without an exposure time left out</numerusform>
            <numerusform>%n without an exposure time left out</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>読めない %n ﾌｧｲﾙ</source>
        <translation>
            <numerusform>%n file unreadable</numerusform>
            <numerusform>%n files unreadable</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>サブフレーム: ライト %n 枚</source>
        <translation>
            <numerusform>Sub-frames: %n light frame</numerusform>
            <numerusform>Sub-frames: %n light frames</numerusform>
        </translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>、中断しました</source>
        <translation>, stopped</translation>
    </message>
</context>
<context>
    <name>TemplateFile</name>
    <message>
        <source>ファイル %1 がありません。</source>
        <translation>The file %1 does not exist.</translation>
    </message>
    <message>
        <source>[%1] %2 の値 &quot;%3&quot; は True/False ではありません。</source>
        <translation>[%1] %2: the value &quot;%3&quot; is not True/False.</translation>
    </message>
    <message>
        <source>ファイル %1 は既にあります。</source>
        <translation>The file %1 already exists.</translation>
    </message>
</context>
<context>
    <name>TemplateOverrides</name>
    <message>
        <source>%1: フォント「%2」がありません。</source>
        <translation>%1: there is no font &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>%1 の値「%2」は %3 から %4 までの整数ではありません。</source>
        <translation>The value &quot;%2&quot; of %1 is not a whole number from %3 to %4.</translation>
    </message>
    <message>
        <source>%1 の値「%2」は色ではありません（0xBBGGRR、#RRGGBB か 0 から 16777215 の数）。</source>
        <translation>The value &quot;%2&quot; of %1 is not a color (0xBBGGRR, #RRGGBB or a number from 0 to 16777215).</translation>
    </message>
    <message>
        <source>%1 の値「%2」は True か False ではありません。</source>
        <translation>The value &quot;%2&quot; of %1 is neither True nor False.</translation>
    </message>
    <message>
        <source>「%1」は 名前=値 の形ではありません（例: Header-0.Data=M42）。</source>
        <translation>&quot;%1&quot; is not of the form NAME=VALUE (for example Header-0.Data=M42).</translation>
    </message>
    <message>
        <source>「%1」は設定できる値の名前ではありません。名前は セクション.キー で、次のとおりです:
%2</source>
        <translation>&quot;%1&quot; is not the name of a value that can be set. The names are Section.Key, as follows:
%2</translation>
    </message>
</context>
<context>
    <name>XisfFile</name>
    <message>
        <source>XISF のﾌｧｲﾙが壊れています（%1）</source>
        <translation>the XISF file is damaged (%1)</translation>
    </message>
    <message>
        <source>この XISF のﾌｧｲﾙは読めません: %1</source>
        <translation>this XISF file is not supported: %1</translation>
    </message>
    <message>
        <source>始まりが違います</source>
        <translation>it does not start as XISF 1.0 does</translation>
    </message>
    <message>
        <source>ヘッダが大きすぎます</source>
        <translation>the header is too large</translation>
    </message>
    <message>
        <source>ヘッダが途中で切れています</source>
        <translation>the header is cut short</translation>
    </message>
    <message>
        <source>XISF の XML ではありません</source>
        <translation>the header is not XISF XML</translation>
    </message>
    <message>
        <source>版 %1</source>
        <translation>version %1</translation>
    </message>
    <message>
        <source>画像がありません</source>
        <translation>there is no image</translation>
    </message>
    <message>
        <source>画像の形 %1</source>
        <translation>image geometry %1</translation>
    </message>
    <message>
        <source>%1x%2 の画像</source>
        <translation>a %1x%2 image</translation>
    </message>
    <message>
        <source>画素の形式 %1</source>
        <translation>sample format %1</translation>
    </message>
    <message>
        <source>色空間 %1（%2 チャンネル）</source>
        <translation>colour space %1 (%2 channels)</translation>
    </message>
    <message>
        <source>画素の並び %1</source>
        <translation>pixel storage %1</translation>
    </message>
    <message>
        <source>バイト順 %1</source>
        <translation>byte order %1</translation>
    </message>
    <message>
        <source>%1 チャンネル</source>
        <translation>%1 channels</translation>
    </message>
    <message>
        <source>別のﾌｧｲﾙにあるデータ（%1）</source>
        <translation>data kept in another file (%1)</translation>
    </message>
    <message>
        <source>ヘッダの中のデータ（%1）</source>
        <translation>data kept in the header (%1)</translation>
    </message>
    <message>
        <source>データの位置 %1</source>
        <translation>data location %1</translation>
    </message>
    <message>
        <source>データのブロックがﾌｧｲﾙの外にあります</source>
        <translation>the data block lies beyond the end of the file</translation>
    </message>
    <message>
        <source>データの大きさが画像と合いません</source>
        <translation>the size of the data does not match the image</translation>
    </message>
    <message>
        <source>圧縮方式 %1</source>
        <translation>compression %1</translation>
    </message>
    <message>
        <source>シャッフルの単位 %1</source>
        <translation>shuffling item size %1</translation>
    </message>
    <message>
        <source>圧縮したデータを展開できないか、展開した大きさが合いません</source>
        <translation>the compressed data cannot be decompressed, or decompresses to the wrong size</translation>
    </message>
    <message>
        <source>画像を作るメモリがありません</source>
        <translation>not enough memory for the image</translation>
    </message>
    <message>
        <source>%1x%2 の画像は大きすぎて読み込めません</source>
        <translation>a %1x%2 image is too large to load</translation>
    </message>
    <message>
        <source>画像を読み込むメモリがありません</source>
        <translation>not enough memory to load the image</translation>
    </message>
</context>
</TS>
