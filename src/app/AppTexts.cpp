#include "AppTexts.h"

#include <QDir>

QString AppTexts::saveFailedCaption()
{
    return tr("保存エラー");
}

QString AppTexts::savedText(const QString &path)
{
    return tr("ファイル「%1」を保存しました。").arg(QDir::toNativeSeparators(path));
}
