#include "ComposeOptions.h"

#include "io/PhotoOptions.h"
#include "store/Translations.h"

#include <QCommandLineParser>
#include <optional>

namespace {

// The language of a --lang value, "ja" or "en".
std::optional<AppSettings::Language> languageCode(const QString &code)
{
    if (code == QLatin1String("ja"))
        return AppSettings::Language::Japanese;
    if (code == QLatin1String("en"))
        return AppSettings::Language::English;
    return std::nullopt;
}

// "WxH" (or "WXH") with a size the layout takes.
std::optional<QSize> fitBox(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    bool okW = false, okH = false;
    const QSize size =
        parts.size() == 2 ? QSize(parts[0].toInt(&okW), parts[1].toInt(&okH)) : QSize();
    if (!okW || !okH || PhotoOptions::boundedBox(size) != size)
        return std::nullopt;
    return size;
}

// An option as the user wrote it: "-j", "--output".
QString spelled(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The option of the arguments that Qt's parser refused although it knows it: a value missing at
// the end, or a value given to an option that takes none (told as an unknown option, "--help=x").
QString refusedOption(const QStringList &arguments, bool *missingValue)
{
    for (int i = 1; i < arguments.size() && arguments.at(i) != QLatin1String("--"); ++i) {
        const QString &arg = arguments.at(i);
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            const QString name = arg.left(arg.indexOf(QLatin1Char('=')));
            if (name == QLatin1String("--help") || name == QLatin1String("--fill-from-photo") ||
                name == QLatin1String("--no-metadata") || name == QLatin1String("--solve") ||
                name == QLatin1String("--require-solve")) {
                *missingValue = false;
                return name;
            }
        }
    }
    *missingValue = true;
    return arguments.last();
}

} // namespace

AppSettings::Language ComposeOptions::language(const QStringList &arguments,
                                               const QString &localeName)
{
    for (int i = 1; i < arguments.size() && arguments.at(i) != QLatin1String("--"); ++i) {
        const QString &arg = arguments.at(i);
        std::optional<AppSettings::Language> chosen;
        if (arg.startsWith(QLatin1String("--lang=")))
            chosen = languageCode(arg.mid(7));
        else if (arg == QLatin1String("--lang") && i + 1 < arguments.size())
            chosen = languageCode(arguments.at(i + 1));
        if (chosen)
            return *chosen;
    }
    return Translations::fromLocaleName(localeName);
}

AppSettings::Language ComposeOptions::language(const QString &localeName) const
{
    if (const auto chosen = languageCode(lang))
        return *chosen;
    return Translations::fromLocaleName(localeName);
}

bool ComposeOptions::parse(const QStringList &arguments, QString *error)
{
    // Qt's parser reads the words; the messages, the help and the checks are the program's own.
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption fillOption(QStringLiteral("fill-from-photo"));
    const QCommandLineOption noMetadataOption(QStringLiteral("no-metadata"));
    const QCommandLineOption solveOption(QStringLiteral("solve"));
    const QCommandLineOption requireSolveOption(QStringLiteral("require-solve"));
    const QCommandLineOption jobsOption(QStringList{QStringLiteral("j"), QStringLiteral("jobs")},
                                        QString(), QStringLiteral("N"));
    struct Valued
    {
        const char *name;
        QString *single;
        QStringList *repeated;
    };
    QString formatText, jobsText, fitText, solveTimeoutText;
    const Valued valued[] = {
        {"settings", &settings, nullptr},
        {"template", &templateFile, nullptr},
        {"photo", &photo, nullptr},
        {"output", &output, nullptr},
        {"output-dir", &outputDir, nullptr},
        {"format", &formatText, nullptr},
        {"print-metadata", &printMetadata, nullptr},
        {"fit", &fitText, nullptr},
        {"lang", &lang, nullptr},
        {"solve-timeout", &solveTimeoutText, nullptr},
        {"set", nullptr, &sets},
        {"subframes", nullptr, &subframes},
    };
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOption(helpOption);
    parser.addOption(fillOption);
    parser.addOption(noMetadataOption);
    parser.addOption(solveOption);
    parser.addOption(requireSolveOption);
    parser.addOption(jobsOption);
    QList<QCommandLineOption> options;
    for (const Valued &v : valued)
        options << QCommandLineOption(QString::fromLatin1(v.name), QString(), QStringLiteral("V"));
    parser.addOptions(options);

    const auto usage = [error](const QString &message) {
        *error = message;
        return false;
    };
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            return usage(tr("知らないオプション: %1").arg(spelled(parser.unknownOptionNames()[0])));
        bool missingValue = false;
        const QString option = refusedOption(arguments, &missingValue);
        return usage(missingValue ? tr("%1 の後に値がありません。").arg(option)
                                  : tr("知らないオプション: %1").arg(option));
    }
    help = parser.isSet(helpOption);
    fill = parser.isSet(fillOption);
    noMetadata = parser.isSet(noMetadataOption);
    requireSolve = parser.isSet(requireSolveOption);
    solve = requireSolve || parser.isSet(solveOption);
    photos = parser.positionalArguments();
    const auto take = [&](const QCommandLineOption &option, const QString &shown, QString *single,
                          QStringList *repeated) {
        const QStringList values = parser.values(option);
        for (const QString &value : values) {
            if (value.isEmpty())
                return usage(tr("%1 の値が空です。").arg(shown));
        }
        if (repeated) {
            *repeated = values;
            return true;
        }
        if (values.size() > 1)
            return usage(tr("%1 が二度あります。").arg(shown));
        *single = values.value(0);
        return true;
    };
    for (int i = 0; i < options.size(); ++i) {
        const QString name = QStringLiteral("--") + options[i].names().constFirst();
        if (!take(options[i], name, valued[i].single, valued[i].repeated))
            return false;
    }
    if (!take(jobsOption, QStringLiteral("--jobs"), &jobsText, nullptr))
        return false;

    if (!lang.isEmpty() && !languageCode(lang))
        return usage(tr("--lang は ja か en です: %1").arg(lang));
    if (help)
        return true;
    if (!solveTimeoutText.isEmpty()) {
        bool ok = false;
        solveTimeout = solveTimeoutText.toInt(&ok);
        if (!ok || solveTimeout < 1 || solveTimeout > 3600)
            return usage(
                tr("--solve-timeout は 1 から 3600 までの秒数です: %1").arg(solveTimeoutText));
    }
    if (!fitText.isEmpty()) {
        const std::optional<QSize> box = fitBox(fitText);
        if (!box)
            return usage(tr("--fit は 50x50 から 1600x1200 までの 幅x高さ です: %1").arg(fitText));
        fit = *box;
    }
    if (!printMetadata.isEmpty()) {
        if (!output.isEmpty() || !outputDir.isEmpty() || !photo.isEmpty() || !photos.isEmpty())
            return usage(tr("--print-metadata は写真一つだけと使います。"));
        return true;
    }
    if (output.isEmpty() == outputDir.isEmpty())
        return usage(tr("--output か --output-dir のどちらか一つを指定してください。"));
    if (!output.isEmpty()) {
        if (!photos.isEmpty())
            return usage(tr("写真を並べるのは --output-dir と一緒のときだけです。--photo を使って"
                            "ください。"));
        if (!formatText.isEmpty())
            return usage(tr("--format は --output-dir と一緒に使います（--output は拡張子で決ま"
                            "ります）。"));
        if (!jobsText.isEmpty())
            return usage(tr("-j は --output-dir と一緒に使います。"));
        if (fill && photo.isEmpty())
            return usage(tr("--fill-from-photo には写真（--photo）が必要です。"));
        if (solve && photo.isEmpty())
            return usage(tr("--solve には写真（--photo）が必要です。"));
        return true;
    }
    if (!photo.isEmpty())
        return usage(tr("--output-dir では写真を --photo でなく並べて指定してください。"));
    if (photos.isEmpty())
        return usage(tr("--output-dir には写真が一つ以上必要です。"));
    const QString f = formatText.toLower();
    if (f == QLatin1String("png"))
        format = SavePicture::Format::Png;
    else if (f == QLatin1String("jpg") || f == QLatin1String("jpeg"))
        format = SavePicture::Format::Jpeg;
    else if (!f.isEmpty() && f != QLatin1String("bmp"))
        return usage(tr("--format は bmp、png、jpg のどれかです: %1").arg(formatText));
    bool ok = true;
    jobs = jobsText.isEmpty() ? 0 : jobsText.toInt(&ok);
    if (!jobsText.isEmpty() && (!ok || jobs < 1 || jobs > MaxJobs))
        return usage(tr("-j は 1 から %1 までの数です: %2").arg(MaxJobs).arg(jobsText));
    return true;
}
