#pragma once

#include <QCoreApplication>
#include <QSize>
#include <QString>

// The texts of the player's errors, translated in the player's context.
class MetafileErrors
{
    Q_DECLARE_TR_FUNCTIONS(MetafilePlayer)

public:
    static QString notMetafile();
    static QString badHeader();
    static QString noSize();
    static QString tooLarge(QSize size, QSize largest);
    static QString fileTooLarge();
    static QString damagedRecord(qint64 offset);
    static QString noEndRecord();
    static QString tooComplex();
};
