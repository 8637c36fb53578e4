#include "ComposeCommand.h"
#include "BatchRunner.h"
#include "ComposeOptions.h"
#include "InputPhotos.h"

#include "compose/CaptionFill.h"
#include "compose/DateStyle.h"
#include "compose/FontSetup.h"
#include "compose/FrameDescription.h"
#include "compose/LayoutMargins.h"
#include "compose/PanelValues.h"
#include "compose/PictureMetadata.h"
#include "compose/PreviewCommand.h"
#include "compose/PreviewComposer.h"
#include "compose/SubframeSummary.h"
#include "compose/TemplateOverrides.h"
#include "io/LoadPicture.h"
#include "io/PhotoMetadata.h"
#include "io/SavePicture.h"
#include "io/SubframeHeader.h"
#include "sky/FieldFacts.h"
#include "sky/FieldSolver.h"
#include "sky/SkyCatalogue.h"
#include "store/AppSettings.h"
#include "store/ProgramFolder.h"
#include "store/TemplateFile.h"
#include "store/Translations.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QTextStream>
#include <QThread>

namespace {

const char16_t *const kProgram = u"morvel-compose";
const char16_t *const kDefaultTemplate = u"default.kvl";
constexpr double kTwipsPerPixel = 15.0; // 96 dpi

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString failure(const QString &message)
{
    return QString::fromUtf16(kProgram) + QStringLiteral(": ") + message;
}

// A file named on the command line must exist and be readable.
bool checkNamedFile(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists())
        *error = ComposeCommand::tr("「%1」が見つかりません。").arg(shown(path));
    else if (!info.isFile())
        *error = ComposeCommand::tr("「%1」はﾌｧｲﾙではありません。").arg(shown(path));
    else if (!info.isReadable())
        *error = ComposeCommand::tr("「%1」を読めません。").arg(shown(path));
    else
        return true;
    return false;
}

// The language of the field's names: --lang's, else the locale's as for the messages.
AppSettings::Language solveLanguage(const ComposeOptions &o)
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return o.language(value);
    }
    return o.language(QLocale::system().name());
}

// Where the photo lies on the sky: its header's WCS, the cache or astrometry.net, with the hints
// of its data and the typed target, in the photo's own pixels.
SolveResult solvePhoto(const QString &photo, const QString &typedTarget, int timeLimit)
{
    SolveRequest request;
    request.photoPath = photo;
    request.solver.timeLimit = timeLimit;
    PhotoMetadata data;
    PhotoMetadata::read(photo, &data);
    request.hints = SolveHints::fromMetadata(data, LoadPicture::readHeader(photo).size, typedTarget,
                                             SkyCatalogue::builtIn());
    return FieldSolver::solve(request);
}

} // namespace

struct ComposeCommand::Setup
{
    PanelValues panel; // after the templates, before the fill and the --set values
    TemplateOverrides overrides;
    QStringList fontNames;
    CaptionFill::Patterns patterns;
    bool fill = false;
    DateStyle dateStyle;
    bool englishMonths = false;
    bool hasSubframes = false;
    CaptionFill::Values subframes; // the summary of the sub-frames
    bool solve = false;            // --solve: the field's facts join the fill
    bool requireSolve = false;
    int solveTimeout = 60;
    AppSettings::Language language = AppSettings::Language::Japanese;
    FrameDescription frame; // the panel with the --set values, for photos without the fill
    LayoutMargins margins;
    PhotoOptions photo;
    int jpegQuality = 80;
    bool metadata = true; // PNG and JPEG carry their caption (PictureMetadata)
    int jobs = 1;
    InputPhotos inputs; // the photos and sub-frames of the run, which no picture replaces
};

ComposeCommand::ComposeCommand(const QString &programFolder, QTextStream &out, QTextStream &err,
                               bool progress)
    : m_programFolder(programFolder), m_out(out), m_err(err), m_progress(progress)
{}

QString ComposeCommand::helpText()
{
    return tr(
        "使い方:\n"
        "  morvel-compose [--settings FILE] [--template FILE] [--fill-from-photo]\n"
        "                 [--subframes DIR|FILE]... [--set 名前=値]... [--photo FILE]\n"
        "                 --output FILE\n"
        "  morvel-compose [--settings FILE] [--template FILE] [--fill-from-photo]\n"
        "                 [--subframes DIR|FILE]... [--set 名前=値]... --output-dir DIR\n"
        "                 [--format bmp|png|jpg] [-j N] PHOTO...\n"
        "  morvel-compose --print-metadata PHOTO [--subframes DIR|FILE]...\n"
        "  最初の二つには [--fit WxH] を、どれにも [--lang ja|en] と\n"
        "  [--solve [--solve-timeout S] [--require-solve]] を付けられます。\n"
        "\n"
        "写真を枠に入れた画像を作ります。画面の「Preview...」と同じ画像です: 起動時の設定、\n"
        "テンプレート（日付と時刻を含む）、写真の情報（--fill-from-photo）、--set の値の順に\n"
        "当てはめて描きます。\n"
        "\n"
        "  --settings FILE    設定ﾌｧｲﾙ（既定: 設定フォルダの nolt.ini。無ければ既定値）\n"
        "  --template FILE    テンプレート（既定: 設定フォルダの default.kvl。\n"
        "                     無ければ起動時の既定値）\n"
        "  --photo FILE       写真（BMP、JPEG、GIF、WMF、EMF、FITS、TIFF、PNG）。省略すると\n"
        "                     写真なしで、テンプレートの枠の大きさで描きます\n"
        "  --output FILE      出力ﾌｧｲﾙ。.png は PNG、.jpg/.jpeg は JPEG（設定の Quality）、\n"
        "                     それ以外は名前どおりの BMP\n"
        "  --output-dir DIR   まとめて作る: 写真ごとに DIR/<写真の名前>.bmp を書きます。\n"
        "                     失敗した写真を報告して残りを続けます\n"
        "  --format FMT       --output-dir の形式: bmp（既定）、png、jpg\n"
        "  -j N, --jobs N     --output-dir で同時に作る数（既定: CPU のコア数）。\n"
        "                     メッセージは写真の順に出て、画像は一つずつ作るときと同じです\n"
        "  --fit WxH          この実行では、WxH より大きな写真を縦横比を保って縮小します\n"
        "                     （50x50 から 1600x1200 まで。既定は設定ﾌｧｲﾙの「大きな写真を\n"
        "                     縮小する」）\n"
        "  --fill-from-photo  写真ごとに、写真の情報（FITS ヘッダ、EXIF）を入力してから描きます。\n"
        "                     --subframes が無く、テンプレートの [Subframes] Folder のフォルダが\n"
        "                     あれば（相対パスはテンプレートのﾌｧｲﾙから）、そのサブフレームも\n"
        "                     集計します\n"
        "  --no-metadata      PNG と JPEG に説明文、撮影日時、空の位置（XMP）と sRGB の\n"
        "                     プロファイルを書き込みません（設定ﾌｧｲﾙの [Save] Metadata=0 と同じ）\n"
        "  --subframes DIR|FILE  サブフレームのフォルダ（中のフォルダも）かﾌｧｲﾙ（何度でも）。\n"
        "                     FITS とカメラのﾌｧｲﾙ（JPEG、TIFF、RAW）のヘッダだけを読み（XISF\n"
        "                     はまだ読めず、読めないﾌｧｲﾙに数えます）、\n"
        "                     ダーク、フラット、バイアスを除いたライトフレームを集計して\n"
        "                     {INTEGRATION} などに入れます。--fill-from-photo を含みます\n"
        "  --solve            写真の写野を astrometry.net で求め（FITS ヘッダの WCS があれば\n"
        "                     それを使い、結果はキャッシュします）、{TARGET} {RA} {DEC} {FOV}\n"
        "                     {SCALE} {NORTH} {OBJECTS} に入れます。対象名が空なら {TARGET}\n"
        "                     が入ります。テンプレートの [Sky] が Overlay=True なら方位、\n"
        "                     スケールと天体名を写真に描きます。--fill-from-photo を含みます。\n"
        "                     求められない写真も警告して描きます\n"
        "  --solve-timeout S  写真一枚の解析の制限時間（秒。既定: 設定ﾌｧｲﾙ、60）\n"
        "  --require-solve    --solve で、写野を求められない写真を失敗にします\n"
        "  --set 名前=値      テンプレートの値を一つ変えます（何度でも）。名前はテンプレート\n"
        "                     ﾌｧｲﾙの [セクション] とキー:\n"
        "                     --set Header-0.Data=\"M42 オリオン大星雲\"\n"
        "                     --set Frame.BorderWidth=3  --set Header-2.FontColor=#FFD080\n"
        "                     --set Header-3.FontBold=True（色は 0xBBGGRR か #RRGGBB）\n"
        "                     セクションと行: Header-0 対象名、Header-1 日付と時刻、\n"
        "                     Header-2、Header-3、Header-4 フッタの1行目から3行目、Frame 枠\n"
        "  --print-metadata PHOTO  写真の情報を、差し込み名と値を一行ずつ書き出します\n"
        "  --lang ja|en       メッセージの言語。既定はロケールに従い、LC_ALL、LC_MESSAGES、\n"
        "                     LANG の最初に設定されたものが日本語なら日本語、ほかは英語。\n"
        "                     {TOTAL} と既定のパターンの言葉もこの言語になります\n"
        "  --help             この説明\n"
        "\n"
        "写真の情報の入力: 対象名に OBJECT、日付と時刻に DATE-OBS（UTC をこの計算機の時刻\n"
        "に直します）、DATE-LOC か EXIF の撮影日時、フッタの3行に設定の3つのパターンを\n"
        "使います。パターンの {名前} に値が入ります:\n"
        "  FITS: {OBJECT} {DATE-OBS} {DATE-LOC} {EXPTIME} {STACKCNT} {TOTAL} {TELESCOP}\n"
        "        {INSTRUME} {FOCALLEN} {APTDIA} {FILTER} {GAIN} {CCD-TEMP} {XBINNING}\n"
        "        {OBSERVER} {SITELAT} {SITELONG}   （{TOTAL} = EXPTIME x STACKCNT）\n"
        "  EXIF: {DateTimeOriginal} {OffsetTimeOriginal} {Make} {Model} {LensModel}\n"
        "        {FocalLength} {FNumber} {ExposureTime} {ISO} {Artist}\n"
        "  サブフレーム: {INTEGRATION}（L 36×300秒 Ha 24×600秒 計7時間00分）{SUBS}（枚数）\n"
        "        {NIGHTS}（夜の数）{FIRST_NIGHT} {LAST_NIGHT}（最初と最後の夜の日付。夜は正午\n"
        "        から正午まで）。--subframes が無ければ、スタックした写真自身の STACKCNT\n"
        "        （NCOMBINE）、EXPTIME、LIVETIME（TOTALEXP）から {INTEGRATION} と {SUBS} が\n"
        "        入ります\n"
        "[ ] で囲んだ部分は、中の値がすべてあるときだけ入ります。値が一つも入らない行と、\n"
        "情報のない欄は元のままです。例: OBJECT='M42'、DATE-OBS='2026-01-15T13:05:30'、\n"
        "TELESCOP='R106 refractor'、INSTRUME='C26 cooled CMOS'、EXPTIME=300、\n"
        "STACKCNT=24、GAIN=100 の FITS は、日本の時刻で\n"
        "  M42                                          2026/01/15 22:05 JST\n"
        "  R106 refractor + C26 cooled CMOS\n"
        "  300秒 x 24枚 (計 2時間) Gain 100\n"
        "になります（3行目は元のまま）。\n"
        "\n"
        "出力が入力の写真（--subframes のﾌｧｲﾙも）と同じﾌｧｲﾙになるときは、その写真の画像を\n"
        "書かずに失敗とします。\n"
        "終了コード: 0 成功、1 写真かﾌｧｲﾙの失敗（一つでも）、2 使い方の誤り。\n"
        "写真の大きさは 50x50 から 1600x1200 までです。FITS の表示の伸張は設定ﾌｧｲﾙに従います。\n");
}

void ComposeCommand::fail(const QString &message)
{
    m_err << failure(message) << Qt::endl;
}

int ComposeCommand::prepare(const ComposeOptions &o, Setup *setup)
{
    // The --set values first: a mistyped name is a usage error, whatever the files hold.
    setup->fontNames = FontSetup::panelFontNames();
    for (const QString &assignment : o.sets) {
        QString error;
        if (!setup->overrides.add(assignment, setup->fontNames, &error)) {
            fail(error);
            return UsageError;
        }
    }

    QString error;
    AppSettings settings(m_programFolder, kTwipsPerPixel, kTwipsPerPixel);
    const QString settingsPath =
        o.settings.isEmpty()
            ? ProgramFolder::filePath(m_programFolder, QString::fromLatin1(AppSettings::FileName))
            : o.settings;
    if (!o.settings.isEmpty() && !checkNamedFile(settingsPath, &error)) {
        fail(error);
        return Failure;
    }
    if (!settings.load(settingsPath)) {
        fail(tr("設定ﾌｧｲﾙ「%1」を読めません: %2").arg(shown(settingsPath), settings.errorString()));
        return Failure;
    }

    // The panel at start-up: defaults, then "default.kvl" without its date and time.
    const QStringList &fontNames = setup->fontNames;
    PanelValues &panel = setup->panel;
    panel = PanelValues::startupDefaults(QDateTime::currentDateTime(), fontNames,
                                         settings.englishMonths());
    const QString defaultTemplate =
        ProgramFolder::filePath(m_programFolder, QString::fromUtf16(kDefaultTemplate));
    {
        TemplateFile tpl;
        if (tpl.load(defaultTemplate))
            panel.applyTemplate(tpl, true, fontNames);
    }
    // Then the template as the load command applies it, date and time included.
    const QString templatePath = o.templateFile.isEmpty() ? defaultTemplate : o.templateFile;
    if (!o.templateFile.isEmpty() && !checkNamedFile(templatePath, &error)) {
        fail(error);
        return Failure;
    }
    if (QFileInfo::exists(templatePath)) {
        TemplateFile tpl;
        if (!tpl.load(templatePath)) {
            fail(tr("テンプレート「%1」を読めません: %2")
                     .arg(shown(templatePath), tpl.errorString()));
            return Failure;
        }
        panel.applyTemplate(tpl, false, fontNames);
    }

    setup->fill = o.fill || !o.subframes.isEmpty() || o.solve;
    setup->solve = o.solve;
    setup->requireSolve = o.requireSolve;
    setup->solveTimeout = o.solveTimeout > 0 ? o.solveTimeout : settings.solveTimeout();
    setup->language = solveLanguage(o);
    setup->patterns = CaptionFill::patterns(settings);
    setup->dateStyle = DateStyle::fromSettings(settings);
    setup->englishMonths = settings.englishMonths();
    // The fill takes the template's sub-frame folder, as the window does, unless named here.
    QStringList subframes = o.subframes;
    if (o.fill && subframes.isEmpty() && !panel.subframeFolder.isEmpty()) {
        const QString folder =
            QDir(QFileInfo(templatePath).absolutePath())
                .absoluteFilePath(QDir::fromNativeSeparators(panel.subframeFolder));
        if (QFileInfo(folder).isDir())
            subframes << folder;
    }
    if (!subframes.isEmpty()) {
        SubframeSummary summary;
        if (!readSubframes(subframes, &summary))
            return Failure;
        QStringList missing;
        for (const QString &file : SubframeHeader::files(subframes, &missing))
            setup->inputs.add(file);
        setup->hasSubframes = true;
        setup->subframes = summary.placeholders(setup->dateStyle, setup->englishMonths);
    }
    PanelValues overridden = panel;
    setup->overrides.apply(overridden, fontNames);
    PreviewCommand::toFrameDescription(overridden, setup->dateStyle, setup->frame);
    // Only the faces this frame draws: each question about a face costs a fontconfig pass. The
    // fill changes texts only, so these are the faces of every photo.
    QStringList faces;
    for (const TextItem &item : setup->frame.textItems)
        faces << item.fontName;
    FontSetup::install(faces);
    setup->margins = LayoutMargins::fromSettings(settings);
    setup->photo = photoOptionsFromSettings(settings);
    if (!o.fit.isEmpty()) {
        setup->photo.shrink = true;
        setup->photo.box = o.fit;
    }
    setup->jpegQuality = settings.jpegQuality();
    setup->metadata = settings.saveMetadata() && !o.noMetadata;
    setup->jobs = o.jobs > 0 ? o.jobs : std::max(1, QThread::idealThreadCount());
    for (const QString &photo : o.photo.isEmpty() ? o.photos : QStringList{o.photo})
        setup->inputs.add(photo);
    return Success;
}

bool ComposeCommand::readSubframes(const QStringList &paths, SubframeSummary *summary)
{
    for (const QString &path : paths) {
        if (!QFileInfo::exists(path)) {
            fail(tr("「%1」が見つかりません。").arg(shown(path)));
            return false;
        }
    }
    // On a terminal, a line that counts the files once the reading takes long.
    constexpr int kManyFiles = 500;
    constexpr qint64 kLongMs = 1000;
    constexpr qint64 kStepMs = 100;
    QElapsedTimer clock;
    clock.start();
    qint64 shownAt = -kStepMs;
    bool printed = false;
    const auto progress = [&](int done, int total) {
        const qint64 now = clock.elapsed();
        if (m_progress && (total >= kManyFiles || now >= kLongMs) &&
            (now - shownAt >= kStepMs || done == total)) {
            m_err << '\r' << tr("サブフレームのヘッダを読んでいます: %1/%2").arg(done).arg(total)
                  << Qt::flush;
            shownAt = now;
            printed = true;
        }
        return true;
    };
    *summary = SubframeSummary::read(paths, QTimeZone(), progress);
    if (printed)
        m_err << Qt::endl;
    for (const SubframeSummary::Skipped &skipped : summary->skipped())
        fail(QStringLiteral("%1: %2").arg(shown(skipped.path), skipped.reason));
    m_err << summary->report() << Qt::endl;
    return true;
}

int ComposeCommand::printMetadata(const ComposeOptions &o)
{
    const QString &photo = o.printMetadata;
    QString error;
    if (!checkNamedFile(photo, &error)) {
        fail(error);
        return Failure;
    }
    PhotoMetadata data;
    if (!PhotoMetadata::read(photo, &data, &error)) {
        fail(error);
        return Failure;
    }
    // The sub-frames' values, or a master's own, with the nights' dates as the settings write them.
    SubframeSummary summary;
    PhotoMetadata master;
    if (!o.subframes.isEmpty() && !readSubframes(o.subframes, &summary))
        return Failure;
    if (o.subframes.isEmpty() && SubframeHeader::readMaster(photo, &master))
        summary = SubframeSummary::ofMaster(master);
    AppSettings settings(m_programFolder, kTwipsPerPixel, kTwipsPerPixel);
    settings.load(
        o.settings.isEmpty()
            ? ProgramFolder::filePath(m_programFolder, QString::fromLatin1(AppSettings::FileName))
            : o.settings);
    const CaptionFill::Values values =
        CaptionFill::placeholders(data) +
        summary.placeholders(DateStyle::fromSettings(settings), settings.englishMonths());
    for (const auto &[name, value] : values)
        m_out << '{' << name << "}\t" << value << '\n';
    // The field's facts after the photo's own values; a photo that is not solved is told.
    int status = Success;
    bool printed = !values.isEmpty();
    if (o.solve) {
        const SolveResult solved = solvePhoto(
            photo, QString(), o.solveTimeout > 0 ? o.solveTimeout : settings.solveTimeout());
        for (const auto &[name, value] : FieldFacts::values(solved, solveLanguage(o))) {
            m_out << '{' << name << "}\t" << value << '\n';
            printed = true;
        }
        if (!solved.isIdentified()) {
            fail(QStringLiteral("%1: %2").arg(shown(photo), solved.message));
            status = o.requireSolve ? Failure : Success;
        }
    }
    m_out.flush();
    if (!printed)
        fail(tr("「%1」には写真の情報がありません。").arg(shown(photo)));
    return status;
}

bool ComposeCommand::composeOne(const Setup &setup, const QString &photo, const QString &output,
                                SavePicture::Format format, PreviewComposer &composer,
                                QStringList *messages) const
{
    QString error;
    if (!photo.isEmpty() && !checkNamedFile(photo, &error)) {
        messages->append(failure(error));
        return false;
    }
    const QString overwritten = setup.inputs.overwrittenBy(output);
    if (!overwritten.isEmpty()) {
        messages->append(
            failure(tr("「%1」は入力の写真「%2」と同じﾌｧｲﾙです。写真に上書きしません。")
                        .arg(shown(output), shown(overwritten))));
        return false;
    }
    FrameDescription frame = setup.frame;
    // The field first: its facts join the fill, its WCS the overlay. A photo that is not solved
    // still gets its picture, with a warning, unless the solve is required.
    CaptionFill::Values field;
    composer.setPhotoSolution(std::nullopt);
    if (setup.solve) {
        const SolveResult solved =
            solvePhoto(photo, setup.frame.textItems[0].text, setup.solveTimeout);
        field = FieldFacts::values(solved, setup.language);
        if (!solved.isIdentified()) {
            messages->append(failure(QStringLiteral("%1: %2").arg(shown(photo), solved.message)));
            if (setup.requireSolve)
                return false;
        } else {
            if (solved.targetOutsideField)
                messages->append(
                    failure(QStringLiteral("%1: %2").arg(shown(photo), solved.targetMessage)));
            composer.setPhotoSolution(
                PreviewComposer::PhotoSolution{photo, *solved.wcs, solved.objects});
        }
        composer.setOverlayLanguage(setup.language);
    }
    if (setup.fill) {
        PhotoMetadata data;
        const bool photoData = !photo.isEmpty() && PhotoMetadata::read(photo, &data);
        CaptionFill::Values extra = setup.subframes;
        PhotoMetadata master;
        if (!setup.hasSubframes && SubframeHeader::readMaster(photo, &master))
            extra = SubframeSummary::ofMaster(master).placeholders(setup.dateStyle,
                                                                   setup.englishMonths);
        extra += field;
        if ((photoData && !data.isEmpty()) || !extra.isEmpty()) {
            PanelValues panel =
                CaptionFill::fill(setup.panel, data, setup.patterns, QTimeZone(), nullptr, extra);
            setup.overrides.apply(panel, setup.fontNames);
            frame = FrameDescription();
            PreviewCommand::toFrameDescription(panel, setup.dateStyle, frame);
        }
    }
    composer.setPhotoOptions(setup.photo);
    const ComposeOutcome outcome = composer.compose(frame, setup.margins, photo);
    switch (outcome.kind) {
    case ComposeOutcome::Kind::Drawn:
        if (!outcome.notice.isEmpty()) // the picture is written all the same
            messages->append(outcome.notice);
        break;
    case ComposeOutcome::Kind::LayoutRefused:
        messages->append(failure(tr("枠の大きさ %1x%2: %3")
                                     .arg(frame.photoWidth)
                                     .arg(frame.photoHeight)
                                     .arg(ComposeOutcome::sizeMessage())));
        return false;
    case ComposeOutcome::Kind::PhotoSizeRefused:
        messages->append(failure(
            tr("%1 (%2x%3): %4")
                .arg(shown(photo))
                .arg(frame.photoWidth)
                .arg(frame.photoHeight)
                .arg(ComposeOutcome::sizeMessage()) +
            (outcome.shrinkWouldFit ? tr(" --fit 1600x1200 で縮小できます。") : QString())));
        return false;
    default:
        messages->append(failure(outcome.message));
        return false;
    }
    // The sky position comes from a WCS in the photo's FITS header; a solve run here would hand
    // its result to composer.setPhotoSolution() before this.
    const bool tagged = setup.metadata && format != SavePicture::Format::Bmp;
    const PictureXmp xmp = tagged ? composer.pictureMetadata(frame).xmp() : PictureXmp();
    if (!SavePicture::write(composer.canvas(), output, format, setup.jpegQuality, &error,
                            tagged ? &xmp : nullptr)) {
        messages->append(failure(error));
        return false;
    }
    return true;
}

int ComposeCommand::runBatch(const ComposeOptions &o, const Setup &setup)
{
    const QString suffix = o.format == SavePicture::Format::Png    ? QStringLiteral(".png")
                           : o.format == SavePicture::Format::Jpeg ? QStringLiteral(".jpg")
                                                                   : QStringLiteral(".bmp");
    if (!QDir().mkpath(o.outputDir)) {
        fail(tr("出力フォルダ「%1」を作れません。").arg(shown(o.outputDir)));
        return Failure;
    }
    const int count = int(o.photos.size());
    QStringList outputs;
    QStringList clashes(count); // a photo refused before the start, with why
    QSet<QString> written;
    for (int i = 0; i < count; ++i) {
        const QString &photo = o.photos.at(i);
        outputs << QDir(o.outputDir).filePath(QFileInfo(photo).completeBaseName() + suffix);
        // Two photos with one base name would overwrite each other's picture: the later fails.
        const QString key = QFileInfo(outputs.last()).absoluteFilePath();
        if (written.contains(key))
            clashes[i] =
                failure(tr("%1: 「%2」は同じ実行で既に書きました。写真の名前が重なっています。")
                            .arg(shown(photo), shown(outputs.last())));
        written.insert(key);
    }
    const auto work = [&](int i, PreviewComposer &composer, QStringList *messages) {
        if (!clashes.at(i).isEmpty()) {
            messages->append(clashes.at(i));
            return false;
        }
        return composeOne(setup, o.photos.at(i), outputs.at(i), o.format, composer, messages);
    };
    const auto report = [&](int i, const BatchRunner::Outcome &outcome) {
        if (m_progress)
            m_err << QStringLiteral("[%1/%2] %3 -> %4")
                         .arg(i + 1)
                         .arg(count)
                         .arg(shown(o.photos.at(i)), shown(outputs.at(i)))
                  << Qt::endl;
        for (const QString &message : outcome.messages)
            m_err << message << Qt::endl;
    };
    const int failures = BatchRunner::run(count, setup.jobs, work, report);
    if (failures > 0) {
        fail(tr("%1 枚中 %2 枚が失敗しました。").arg(count).arg(failures));
        return Failure;
    }
    return Success;
}

int ComposeCommand::run(const QStringList &arguments)
{
    ComposeOptions o;
    QString error;
    if (!o.parse(arguments, &error)) {
        fail(error);
        m_err << tr("詳しくは morvel-compose --help") << Qt::endl;
        return UsageError;
    }
    if (o.help) {
        m_out << helpText();
        m_out.flush();
        return Success;
    }
    if (!o.printMetadata.isEmpty())
        return printMetadata(o);
    Setup setup;
    const int prepared = prepare(o, &setup);
    if (prepared != Success)
        return prepared;

    if (!o.output.isEmpty()) {
        QStringList messages;
        PreviewComposer composer;
        const bool ok = composeOne(setup, o.photo, o.output, SavePicture::formatForPath(o.output),
                                   composer, &messages);
        for (const QString &message : messages)
            m_err << message << Qt::endl;
        return ok ? Success : Failure;
    }
    return runBatch(o, setup);
}
