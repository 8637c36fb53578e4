#pragma once

#include "io/SavePicture.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

struct ComposeOptions;
class PreviewComposer;
class SubframeSummary;
class QTextStream;

// The command-line composer: from the settings, a template and a photo to the framed picture,
// exactly as the main window shows it after loading that template and pressing Preview.
// Needs a QGuiApplication (fonts); registers the font substitutions its frame needs itself.
class ComposeCommand
{
    Q_DECLARE_TR_FUNCTIONS(ComposeCommand)

public:
    enum ExitCode
    {
        Success = 0,
        Failure = 1,
        UsageError = 2
    };

    // programFolder holds the default "nolt.ini" and "default.kvl". Messages go to err, one line
    // each; the help text and the photo data to out. With progress, one line per photo of a
    // batch goes to err.
    ComposeCommand(const QString &programFolder, QTextStream &out, QTextStream &err, bool progress);

    int run(const QStringList &arguments);

    static QString helpText();

private:
    struct Setup;

    int prepare(const ComposeOptions &options, Setup *setup);
    int printMetadata(const ComposeOptions &options);
    // The summary of --subframes, with its notes on err (and a line of progress on a terminal);
    // false when a path names no file or folder.
    bool readSubframes(const QStringList &paths, SubframeSummary *summary);
    int runBatch(const ComposeOptions &options, const Setup &setup);
    // Thread-safe for one composer a thread: the messages for err, the photo's notices among
    // them, are returned in *messages. Writes nothing over a photo of the run.
    bool composeOne(const Setup &setup, const QString &photo, const QString &output,
                    SavePicture::Format format, PreviewComposer &composer,
                    QStringList *messages) const;
    void fail(const QString &message);

    QString m_programFolder;
    QTextStream &m_out;
    QTextStream &m_err;
    bool m_progress;
};
