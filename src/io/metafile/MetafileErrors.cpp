#include "MetafileErrors.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MetafilePlayer", text);
}

} // namespace

namespace MetafileErrors {

QString notMetafile()
{
    return tr("The file is not a WMF or EMF metafile.");
}

QString badHeader()
{
    return tr("The metafile header is damaged.");
}

QString noSize()
{
    return tr("The metafile does not give a usable picture size.");
}

QString tooLarge(QSize size, QSize largest)
{
    return tr("The metafile is %1 x %2 pixels; at most %3 x %4 can be drawn.")
        .arg(size.width())
        .arg(size.height())
        .arg(largest.width())
        .arg(largest.height());
}

QString fileTooLarge()
{
    return tr("The metafile is too large to be read.");
}

QString damagedRecord(qint64 offset)
{
    return tr("The metafile is damaged: the record at byte %1 runs past the end of the file.")
        .arg(offset);
}

QString noEndRecord()
{
    return tr("The metafile is cut short: it ends before its end-of-file record.");
}

QString tooComplex()
{
    return tr("The metafile holds too many drawing records to be drawn.");
}

} // namespace MetafileErrors
