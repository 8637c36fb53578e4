#pragma once

#include <QCoreApplication>
#include <QString>

// Texts that more than one window shows, each translated once.
class AppTexts
{
    Q_DECLARE_TR_FUNCTIONS(AppTexts)

public:
    // The caption of the message that a file could not be saved.
    static QString saveFailedCaption();
    // The status bar's word that a file was written.
    static QString savedText(const QString &path);
};
