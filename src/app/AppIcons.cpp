#include "AppIcons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <initializer_list>

// The resource is compiled into the static library; this call keeps it in every program.
static void initIconResource()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

// The picture of `file` drawn over `size` pixels of a transparent image.
QImage render(const QString &file, QSize size)
{
    static const bool loaded = (initIconResource(), true);
    Q_UNUSED(loaded);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer svg(file);
    QPainter p(&image);
    svg.render(&p);
    return image;
}

QIcon iconOf(const QString &name, std::initializer_list<int> sizes = {16})
{
    const QString file = QStringLiteral(":/icons/%1.svg").arg(name);
    QIcon icon;
    if (!QFile::exists(file))
        return icon;
    for (int size : sizes)
        icon.addPixmap(QPixmap::fromImage(render(file, QSize(size, size))));
    return icon;
}

} // namespace

namespace AppIcons {

QColor itemColor(int item)
{
    static const QColor colors[] = {QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0x00, 0x00),
                                    QColor(0x00, 0xC0, 0x00), QColor(0xFF, 0xFF, 0x00),
                                    QColor(0x00, 0xFF, 0xFF)};
    return item >= 0 && item < 5 ? colors[item] : QColor();
}

QIcon toolbarIcon(const char *key)
{
    return iconOf(QStringLiteral("toolbar/") + QLatin1String(key));
}

QIcon alignIcon(int image)
{
    // Any other number shows the left alignment.
    static const char *const names[] = {"left", "center", "right", "left-above", "right-above"};
    const int index = image >= 1 && image <= 5 ? image - 1 : 0;
    return iconOf(QStringLiteral("align/") + QLatin1String(names[index]));
}

QIcon previewIcon()
{
    return iconOf(QStringLiteral("preview"), {24});
}

QImage layoutIllustration()
{
    const QImage image = render(QStringLiteral(":/icons/layout-illustration.svg"), QSize(112, 113));
    return image.convertToFormat(QImage::Format_RGB32)
        .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

QIcon applicationIcon()
{
    return iconOf(QStringLiteral("morvel"), {16, 24, 32, 48, 64, 128, 256});
}

} // namespace AppIcons
