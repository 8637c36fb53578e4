#include "AppTexts.h"

QString AppTexts::saveFailedCaption()
{
    return tr("保存エラー");
}
