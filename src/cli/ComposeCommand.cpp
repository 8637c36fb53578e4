#include "ComposeCommand.h"

#include "compose/FontSetup.h"
#include "compose/FrameDescription.h"
#include "compose/LayoutMargins.h"
#include "compose/PanelValues.h"
#include "compose/PreviewCommand.h"
#include "compose/PreviewComposer.h"
#include "io/SavePicture.h"
#include "store/ProgramFolder.h"
#include "store/clsNoltIO.h"
#include "store/clsTemplateIO.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ComposeCommand", text);
}

const char16_t *const kProgram = u"morvel-compose";
const char16_t *const kDefaultTemplate = u"default.kvl";
constexpr double kTwipsPerPixel = 15.0; // 96 dpi

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A file named on the command line must exist and be readable.
bool checkNamedFile(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists())
        *error = tr("「%1」が見つかりません。").arg(shown(path));
    else if (!info.isFile())
        *error = tr("「%1」はﾌｧｲﾙではありません。").arg(shown(path));
    else if (!info.isReadable())
        *error = tr("「%1」を読めません。").arg(shown(path));
    else
        return true;
    return false;
}

} // namespace

struct ComposeCommand::Options
{
    QString settings;
    QString templateFile;
    QString photo;
    QString output;
    QString outputDir;
    QString format;
    QStringList photos;
    bool help = false;
};

struct ComposeCommand::Setup
{
    FrameDescription frame;
    LayoutMargins margins;
    int jpegQuality = 80;
};

ComposeCommand::ComposeCommand(const QString &programFolder, QTextStream &out, QTextStream &err,
                               bool progress)
    : m_programFolder(programFolder), m_out(out), m_err(err), m_progress(progress)
{}

QString ComposeCommand::helpText()
{
    return tr(
        "使い方:\n"
        "  morvel-compose [--settings FILE] [--template FILE] [--photo FILE] --output FILE\n"
        "  morvel-compose [--settings FILE] [--template FILE] --output-dir DIR\n"
        "                 [--format bmp|png|jpg] PHOTO...\n"
        "\n"
        "写真を枠に入れた画像を作ります。画面の「Preview...」と同じ画像です: 起動時の設定、\n"
        "テンプレート（日付と時刻を含む）、写真の順に当てはめて描きます。\n"
        "\n"
        "  --settings FILE    設定ﾌｧｲﾙ（既定: 設定フォルダの nolt.ini。無ければ既定値）\n"
        "  --template FILE    テンプレート（既定: 設定フォルダの default.kvl。\n"
        "                     無ければ起動時の既定値）\n"
        "  --photo FILE       写真（BMP、JPEG、GIF、WMF、EMF）。省略すると写真なしで、\n"
        "                     テンプレートの枠の大きさで描きます\n"
        "  --output FILE      出力ﾌｧｲﾙ。.png は PNG、.jpg/.jpeg は JPEG（設定の Quality）、\n"
        "                     それ以外は名前どおりの BMP\n"
        "  --output-dir DIR   まとめて作る: 写真ごとに DIR/<写真の名前>.bmp を書きます。\n"
        "                     失敗した写真を報告して残りを続けます\n"
        "  --format FMT       --output-dir の形式: bmp（既定）、png、jpg\n"
        "  --help             この説明\n"
        "\n"
        "終了コード: 0 成功、1 写真かﾌｧｲﾙの失敗（一つでも）、2 使い方の誤り。\n"
        "写真の大きさは 50x50 から 1600x1200 までです。\n");
}

void ComposeCommand::fail(const QString &message)
{
    m_err << QString::fromUtf16(kProgram) << ": " << message << Qt::endl;
}

int ComposeCommand::parse(const QStringList &arguments, Options *o)
{
    auto usage = [this](const QString &message) {
        fail(message);
        m_err << tr("詳しくは morvel-compose --help") << Qt::endl;
        return UsageError;
    };
    const QStringList valued = {QStringLiteral("--settings"),   QStringLiteral("--template"),
                                QStringLiteral("--photo"),      QStringLiteral("--output"),
                                QStringLiteral("--output-dir"), QStringLiteral("--format")};
    QString *targets[] = {&o->settings, &o->templateFile, &o->photo,
                          &o->output,   &o->outputDir,    &o->format};
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        QString arg = arguments.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1String("--")) || arg == QLatin1String("-")) {
            if (arg.startsWith(QLatin1Char('-')) && !optionsEnded && arg != QLatin1String("-"))
                return usage(tr("知らないオプション: %1").arg(arg));
            o->photos << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o->help = true;
            continue;
        }
        QString value;
        bool hasValue = false;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasValue = true;
        }
        const qsizetype which = valued.indexOf(arg);
        if (which < 0)
            return usage(tr("知らないオプション: %1").arg(arg));
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return usage(tr("%1 の後に値がありません。").arg(arg));
            value = arguments.at(++i);
        }
        if (value.isEmpty())
            return usage(tr("%1 の値が空です。").arg(arg));
        if (!targets[which]->isEmpty())
            return usage(tr("%1 が二度あります。").arg(arg));
        *targets[which] = value;
    }
    if (o->help)
        return Success;
    if (o->output.isEmpty() == o->outputDir.isEmpty())
        return usage(tr("--output か --output-dir のどちらか一つを指定してください。"));
    if (!o->output.isEmpty()) {
        if (!o->photos.isEmpty())
            return usage(tr("写真を並べるのは --output-dir と一緒のときだけです。--photo を使って"
                            "ください。"));
        if (!o->format.isEmpty())
            return usage(tr("--format は --output-dir と一緒に使います（--output は拡張子で決ま"
                            "ります）。"));
    } else {
        if (!o->photo.isEmpty())
            return usage(tr("--output-dir では写真を --photo でなく並べて指定してください。"));
        if (o->photos.isEmpty())
            return usage(tr("--output-dir には写真が一つ以上必要です。"));
        const QString f = o->format.toLower();
        if (!f.isEmpty() && f != QLatin1String("bmp") && f != QLatin1String("png") &&
            f != QLatin1String("jpg") && f != QLatin1String("jpeg"))
            return usage(tr("--format は bmp、png、jpg のどれかです: %1").arg(o->format));
    }
    return Success;
}

bool ComposeCommand::prepare(const Options &o, Setup *setup)
{
    QString error;
    clsNoltIO settings(m_programFolder, kTwipsPerPixel, kTwipsPerPixel);
    const QString settingsPath =
        o.settings.isEmpty()
            ? ProgramFolder::filePath(m_programFolder, QString::fromLatin1(clsNoltIO::FileName))
            : o.settings;
    if (!o.settings.isEmpty() && !checkNamedFile(settingsPath, &error)) {
        fail(error);
        return false;
    }
    if (!settings.OpenFile(settingsPath)) {
        fail(tr("設定ﾌｧｲﾙ「%1」を読めません: %2").arg(shown(settingsPath), settings.errorString()));
        return false;
    }

    // The panel at start-up: defaults, then "default.kvl" without its date and time.
    const QStringList fontNames = FontSetup::panelFontNames();
    PanelValues panel = PanelValues::startupDefaults(QDateTime::currentDateTime(), fontNames,
                                                     settings.ThreeCharMonth() != 0);
    const QString defaultTemplate =
        ProgramFolder::filePath(m_programFolder, QString::fromUtf16(kDefaultTemplate));
    {
        clsTemplateIO tpl;
        if (tpl.OpenFile(defaultTemplate))
            panel.applyTemplate(tpl, true, fontNames);
    }
    // Then the template as the load command applies it, date and time included.
    const QString templatePath = o.templateFile.isEmpty() ? defaultTemplate : o.templateFile;
    if (!o.templateFile.isEmpty() && !checkNamedFile(templatePath, &error)) {
        fail(error);
        return false;
    }
    if (QFileInfo::exists(templatePath)) {
        clsTemplateIO tpl;
        if (!tpl.OpenFile(templatePath)) {
            fail(tr("テンプレート「%1」を読めません: %2")
                     .arg(shown(templatePath), tpl.errorString()));
            return false;
        }
        panel.applyTemplate(tpl, false, fontNames);
    }

    PreviewCommand::toFrameDescription(panel, settings.DateFormat(), settings.DelimiterFormat(),
                                       setup->frame);
    // Only the faces this frame draws: each question about a face costs a fontconfig pass.
    QStringList faces;
    for (const TextItem &item : setup->frame.TextItems)
        faces << item.FontName;
    FontSetup::install(faces);
    setup->margins = LayoutMargins::fromSettings(settings);
    setup->jpegQuality = settings.JpegQuality();
    return true;
}

bool ComposeCommand::composeOne(const Setup &setup, const QString &photo, const QString &output,
                                int format)
{
    QString error;
    if (!photo.isEmpty() && !checkNamedFile(photo, &error)) {
        fail(error);
        return false;
    }
    FrameDescription frame = setup.frame;
    PreviewComposer composer;
    composer.PhotoPath = photo;
    const ComposeOutcome outcome = composer.DrawPreview(frame, setup.margins);
    switch (outcome.kind) {
    case ComposeOutcome::Kind::Drawn:
        break;
    case ComposeOutcome::Kind::LayoutRefused:
        fail(tr("枠の大きさ %1x%2: %3")
                 .arg(frame.PhotoWidth)
                 .arg(frame.PhotoHeight)
                 .arg(ComposeOutcome::sizeMessage()));
        return false;
    case ComposeOutcome::Kind::PhotoSizeRefused:
        fail(tr("%1 (%2x%3): %4")
                 .arg(shown(photo))
                 .arg(frame.PhotoWidth)
                 .arg(frame.PhotoHeight)
                 .arg(ComposeOutcome::sizeMessage()));
        return false;
    default:
        fail(outcome.message);
        return false;
    }
    if (!SavePicture::write(composer.canvas(), output, SavePicture::Format(format),
                            setup.jpegQuality, &error)) {
        fail(error);
        return false;
    }
    return true;
}

int ComposeCommand::run(const QStringList &arguments)
{
    Options o;
    const int parsed = parse(arguments, &o);
    if (parsed != Success)
        return parsed;
    if (o.help) {
        m_out << helpText();
        m_out.flush();
        return Success;
    }
    Setup setup;
    if (!prepare(o, &setup))
        return Failure;

    if (!o.output.isEmpty()) {
        const int format = int(SavePicture::formatForPath(o.output));
        return composeOne(setup, o.photo, o.output, format) ? Success : Failure;
    }

    const QString f = o.format.toLower();
    const SavePicture::Format format = f == QLatin1String("png") ? SavePicture::Format::Png
                                       : f.startsWith(QLatin1String("jp"))
                                           ? SavePicture::Format::Jpeg
                                           : SavePicture::Format::Bmp;
    const QString suffix = format == SavePicture::Format::Png    ? QStringLiteral(".png")
                           : format == SavePicture::Format::Jpeg ? QStringLiteral(".jpg")
                                                                 : QStringLiteral(".bmp");
    if (!QDir().mkpath(o.outputDir)) {
        fail(tr("出力フォルダ「%1」を作れません。").arg(shown(o.outputDir)));
        return Failure;
    }
    int failures = 0;
    QSet<QString> written;
    const int count = int(o.photos.size());
    for (int i = 0; i < count; ++i) {
        const QString &photo = o.photos.at(i);
        const QString output =
            QDir(o.outputDir).filePath(QFileInfo(photo).completeBaseName() + suffix);
        if (m_progress)
            m_err << QStringLiteral("[%1/%2] %3 -> %4")
                         .arg(i + 1)
                         .arg(count)
                         .arg(shown(photo), shown(output))
                  << Qt::endl;
        // Two photos with one base name would overwrite each other's picture.
        const QString key = QFileInfo(output).absoluteFilePath();
        if (written.contains(key)) {
            fail(tr("%1: 「%2」は同じ実行で既に書きました。写真の名前が重なっています。")
                     .arg(shown(photo), shown(output)));
            ++failures;
            continue;
        }
        if (composeOne(setup, photo, output, int(format)))
            written.insert(key);
        else
            ++failures;
    }
    if (failures > 0) {
        fail(tr("%1 枚中 %2 枚が失敗しました。").arg(count).arg(failures));
        return Failure;
    }
    return Success;
}
