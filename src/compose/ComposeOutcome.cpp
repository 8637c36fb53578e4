#include "ComposeOutcome.h"

QString ComposeOutcome::sizeMessage()
{
    return tr("最大1600x1200、最小50x50の大きさまで作成可能です。");
}

QString ComposeOutcome::sizeMessageCaption()
{
    return tr("Error");
}

ComposeOutcome ComposeOutcome::overflow(const QString &what)
{
    return failed(tr("計算があふれました（%1）。余白や大きさの設定を見直してください。").arg(what));
}

QString ComposeOutcome::shrinkHint()
{
    return tr("大きな写真は「編集」-「全般の設定」の「大きな写真を縮小する」をオンにすると縮小して"
              "入れられます。");
}
