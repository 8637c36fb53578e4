#include "AboutDialog.h"

#include "PlatformServices.h"
#include "Twips.h"
#include "UiFonts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#ifndef MORVEL_SOURCE_MANUAL
#define MORVEL_SOURCE_MANUAL ""
#endif

namespace {

constexpr int ClientWidth = 4890;
constexpr int ClientHeight = 1770;

constexpr const char *ProgramTitle = "Morvel Ver 2.03";
constexpr const char *ManualFile = "index.html";

// The program's icon where the application has none: a small framed picture.
QPixmap fallbackIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(0, 0, 64));
    QPainter p(&pixmap);
    p.setPen(Qt::white);
    p.drawRect(5, 9, 21, 16);
    p.fillRect(QRect(6, 10, 20, 15), Qt::black);
    p.setPen(QColor(0, 0, 255));
    p.drawLine(5, 5, 14, 5);
    p.setPen(QColor(255, 0, 0));
    p.drawLine(18, 5, 26, 5);
    p.setPen(QColor(255, 255, 0));
    p.drawPoint(12, 15);
    p.drawPoint(20, 19);
    p.drawPoint(16, 13);
    p.setPen(QColor(0, 255, 0));
    p.drawLine(5, 28, 26, 28);
    return pixmap;
}

} // namespace

AboutDialog::AboutDialog(PlatformServices &services, QWidget *owner, const QUrl &manual)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_services(services), m_address(manual)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("ﾊﾞｰｼﾞｮﾝ情報"));
    setFont(UiFonts::dialogFont());
    setFixedSize(Twips::toPixels(ClientWidth, ClientHeight));

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    const QIcon icon = owner ? owner->windowIcon() : QApplication::windowIcon();
    QPixmap pixmap = icon.isNull() ? QPixmap() : icon.pixmap(32, 32);
    if (pixmap.isNull())
        pixmap = fallbackIcon();
    picIcon->setPixmap(pixmap);
    Twips::place(picIcon, {180, 150, 540, 540});
    picIcon->resize(pixmap.deviceIndependentSize().toSize());

    lblTitle = new QLabel(QString::fromLatin1(ProgramTitle), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    Twips::place(lblTitle, {840, 300, 2985, 240});

    lblDescription = new QLabel(tr("天体写真に枠と文字を付けて仕上げます"), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    QPalette black = lblDescription->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblDescription->setPalette(black);
    Twips::place(lblDescription, {840, 750, 3645, 240});

    QPalette link = palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 255));

    lblHome = new QLabel(tr("Morvel 使い方"), this);
    lblHome->setObjectName(QStringLiteral("lblHome"));
    QFont homeFont = UiFonts::windowsFace(QString::fromUtf16(UiFonts::PGothic), 9);
    homeFont.setUnderline(true);
    lblHome->setFont(homeFont);
    Twips::place(lblHome, {2220, 1050, 1155, 240});

    lblUrl = new QLabel(this);
    lblUrl->setObjectName(QStringLiteral("lblUrl"));
    QFont urlFont = UiFonts::windowsFace(QString::fromUtf16(UiFonts::UIGothic), 9);
    urlFont.setUnderline(true);
    lblUrl->setFont(urlFont);
    Twips::place(lblUrl, {840, 1350, 3915, 240});
    // A long address is shortened in the middle to fit; the whole of it is in the tooltip.
    const QString address = m_address.toString();
    lblUrl->setText(lblUrl->fontMetrics().elidedText(address, Qt::ElideMiddle, lblUrl->width()));
    lblUrl->setToolTip(address);

    for (QLabel *label : {lblHome, lblUrl}) {
        label->setPalette(link);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }

    // Both the default and the cancel button: Enter and Esc close the dialog.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    Twips::place(cmdOK, {3870, 240, 900, 345});
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    cmdOK->setFocus();
}

void AboutDialog::showModal(QWidget *owner, PlatformServices &services)
{
    AboutDialog dialog(services, owner);
    dialog.exec();
}

QString AboutDialog::manualPath(const QString &executableFolder)
{
    const QDir folder(executableFolder);
    const QString candidates[] = {
        folder.filePath(QStringLiteral("docs/%1").arg(QLatin1String(ManualFile))),
        folder.filePath(QStringLiteral("../share/morvel/doc/%1").arg(QLatin1String(ManualFile))),
        QString::fromUtf8(MORVEL_SOURCE_MANUAL),
    };
    for (const QString &path : candidates) {
        if (!path.isEmpty() && QFileInfo(path).isFile())
            return QFileInfo(path).canonicalFilePath();
    }
    return QDir::cleanPath(candidates[0]);
}

QUrl AboutDialog::manualUrl()
{
    QUrl url = QUrl::fromLocalFile(manualPath(QCoreApplication::applicationDirPath()));
    // A translation points at its own part of the manual; the Japanese manual opens at the top.
    const QString part = tr("#", "the anchor of the manual's part in this language");
    if (part.size() > 1 && part.startsWith(QLatin1Char('#')))
        url.setFragment(part.mid(1));
    return url;
}

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == lblHome || watched == lblUrl) && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint())) {
            openLink();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::openLink()
{
    // Whether the browser could open it is not examined; the dialog stays open.
    m_services.openUrl(m_address);
}
