#include "PhotoSizeValidator.h"

PhotoSizeValidator::PhotoSizeValidator(QLineEdit *box) : InsertionValidator(box) {}

QString PhotoSizeValidator::judge(const QString &before, const QString &inserted) const
{
    QString taken = toAscii(inserted);
    bool hasX = before.contains(u'x', Qt::CaseInsensitive);
    for (QChar &c : taken) {
        if (c >= u'0' && c <= u'9')
            continue;
        if ((c == u'x' || c == u'X') && !hasX) {
            c = u'x';
            hasX = true;
            continue;
        }
        return QString();
    }
    return taken;
}
