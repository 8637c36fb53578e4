#include "MetafileErrors.h"

QString MetafileErrors::notMetafile()
{
    return tr("WMF・EMF のﾒﾀﾌｧｲﾙではありません。");
}

QString MetafileErrors::badHeader()
{
    return tr("ﾒﾀﾌｧｲﾙのﾍｯﾀﾞｰが壊れています。");
}

QString MetafileErrors::noSize()
{
    return tr("ﾒﾀﾌｧｲﾙに使える画像の大きさが書かれていません。");
}

QString MetafileErrors::tooLarge(QSize size, QSize largest)
{
    return tr("ﾒﾀﾌｧｲﾙの大きさは %1x%2 です。描けるのは最大 %3x%4 までです。")
        .arg(size.width())
        .arg(size.height())
        .arg(largest.width())
        .arg(largest.height());
}

QString MetafileErrors::fileTooLarge()
{
    return tr("ﾒﾀﾌｧｲﾙが大きすぎて読み込めません。");
}

QString MetafileErrors::damagedRecord(qint64 offset)
{
    return tr("ﾒﾀﾌｧｲﾙが壊れています: %1 ﾊﾞｲﾄ目のﾚｺｰﾄﾞがﾌｧｲﾙの終わりを越えています。").arg(offset);
}

QString MetafileErrors::noEndRecord()
{
    return tr("ﾒﾀﾌｧｲﾙが途中で切れています: 終端ﾚｺｰﾄﾞがありません。");
}

QString MetafileErrors::tooComplex()
{
    return tr("ﾒﾀﾌｧｲﾙの描画が多すぎて描けません。");
}
