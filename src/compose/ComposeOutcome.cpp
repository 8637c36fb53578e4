#include "ComposeOutcome.h"

QString ComposeOutcome::sizeMessage()
{
    return tr("最大1600x1200、最小50x50の大きさまで作成可能です。");
}

QString ComposeOutcome::sizeMessageCaption()
{
    return tr("Error");
}
