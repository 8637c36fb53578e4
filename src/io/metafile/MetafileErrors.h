#pragma once

#include <QSize>
#include <QString>

// The texts of the player's errors.
namespace MetafileErrors {

QString notMetafile();
QString badHeader();
QString noSize();
QString tooLarge(QSize size, QSize largest);
QString fileTooLarge();
QString damagedRecord(qint64 offset);
QString noEndRecord();
QString tooComplex();

} // namespace MetafileErrors
