#pragma once

#include "io/SavePicture.h"
#include "store/AppSettings.h"

#include <QCoreApplication>
#include <QSize>
#include <QString>
#include <QStringList>

// The command line of morvel-compose, read and checked: what to compose, from what, into what.
// Reading it needs no file; the files are checked when they are read.
struct ComposeOptions
{
    Q_DECLARE_TR_FUNCTIONS(ComposeOptions)

public:
    static constexpr int MaxJobs = 256;

    QString settings;
    QString templateFile;
    QString photo;
    QString output;
    QString outputDir;
    QString printMetadata;
    QStringList photos; // of a batch
    QStringList sets;
    QStringList subframes;
    SavePicture::Format format = SavePicture::Format::Bmp; // of a batch
    int jobs = 0;         // of a batch; 0 for as many as the processor has cores
    QSize fit;            // empty for the settings' own
    QString lang;         // "ja", "en" or empty for the locale's
    int solveTimeout = 0; // seconds for one photo's solve; 0 for the settings file's
    bool fill = false;
    bool noMetadata = false;   // PNG and JPEG without their caption's XMP and colour profile
    bool solve = false;        // the field's facts join the fill (--solve, --require-solve)
    bool requireSolve = false; // a photo whose field is not found fails
    bool help = false;

    // Reads the arguments (the program's name first). On a usage error returns false with the
    // message in *error.
    bool parse(const QStringList &arguments, QString *error);

    // The language of the messages: the one of "--lang ja|en" when the arguments hold it,
    // otherwise the locale's (localeName, as in LC_MESSAGES: Japanese for "ja_JP.UTF-8").
    static AppSettings::Language language(const QStringList &arguments, const QString &localeName);
    // The same for the parsed options: --lang's language, otherwise the locale's.
    AppSettings::Language language(const QString &localeName) const;
};
