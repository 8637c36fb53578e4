#include "support/FakePlatformServices.h"
#include "ui/frmAbout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T *child(QWidget *dialog, const QString &name)
{
    return dialog->findChild<T *>(name);
}

void showActive(QWidget *dialog)
{
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

void touch(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}

} // namespace

class tst_frmAbout : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void texts();
    void bothLinksOpenTheAddress();
    void closingKeys_data();
    void closingKeys();
    void manualNextToProgram();
    void manualOfTheSourceTree();
};

void tst_frmAbout::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");

    QTest::newRow("lblTitle") << u"lblTitle"_s << QRect(840, 300, 2985, 240);
    QTest::newRow("lblDescription") << u"lblDescription"_s << QRect(840, 750, 3645, 240);
    QTest::newRow("lblHome") << u"lblHome"_s << QRect(2220, 1050, 1155, 240);
    QTest::newRow("lblUrl") << u"lblUrl"_s << QRect(840, 1350, 3915, 240);
    QTest::newRow("cmdOK") << u"cmdOK"_s << QRect(3870, 240, 900, 345);
    QTest::newRow("picIcon sized to its picture") << u"picIcon"_s << QRect(180, 150, 480, 480);
}

void tst_frmAbout::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);

    FakePlatformServices services;
    frmAbout dialog(services, nullptr, QUrl(u"file:///usr/share/morvel/index.html"_s));
    QCOMPARE(dialog.size(), QSize(326, 118));
    QCOMPARE(child<QWidget>(&dialog, name)->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
}

void tst_frmAbout::texts()
{
    FakePlatformServices services;
    const QUrl manual(u"file:///usr/share/morvel/index.html"_s);
    frmAbout dialog(services, nullptr, manual);
    QCOMPARE(dialog.windowTitle(), u"ﾊﾞｰｼﾞｮﾝ情報"_s);
    QCOMPARE(child<QLabel>(&dialog, u"lblTitle"_s)->text(), u"Morvel Ver 2.03"_s);
    QVERIFY(!child<QLabel>(&dialog, u"lblDescription"_s)->text().isEmpty());
    QCOMPARE(child<QLabel>(&dialog, u"lblUrl"_s)->text(), manual.toString());
    QCOMPARE(child<QPushButton>(&dialog, u"cmdOK"_s)->text(), u"OK"_s);
    for (const QString &name : {u"lblHome"_s, u"lblUrl"_s}) {
        auto *link = child<QLabel>(&dialog, name);
        QVERIFY(link->font().underline());
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    }
    QCOMPARE(child<QLabel>(&dialog, u"lblHome"_s)->font().families().constFirst(),
             u"ＭＳ Ｐゴシック"_s);
    QCOMPARE(child<QLabel>(&dialog, u"lblUrl"_s)->font().families().constFirst(),
             u"MS UI Gothic"_s);
}

void tst_frmAbout::bothLinksOpenTheAddress()
{
    FakePlatformServices services;
    const QUrl manual(u"file:///opt/morvel/docs/index.html"_s);
    frmAbout dialog(services, nullptr, manual);
    showActive(&dialog);
    QTest::mouseClick(child<QLabel>(&dialog, u"lblHome"_s), Qt::LeftButton);
    QTest::mouseClick(child<QLabel>(&dialog, u"lblUrl"_s), Qt::LeftButton);
    QTest::mouseClick(child<QLabel>(&dialog, u"lblTitle"_s), Qt::LeftButton);
    QCOMPARE(services.openedUrls, (QList<QUrl>{manual, manual}));
    QVERIFY(dialog.isVisible());
}

void tst_frmAbout::closingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("OK button") << 0;
}

void tst_frmAbout::closingKeys()
{
    QFETCH(int, key);

    FakePlatformServices services;
    frmAbout dialog(services);
    showActive(&dialog);
    if (key)
        QTest::keyClick(&dialog, Qt::Key(key));
    else
        QTest::mouseClick(child<QPushButton>(&dialog, u"cmdOK"_s), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(services.openedUrls.isEmpty());
}

void tst_frmAbout::manualNextToProgram()
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(u"bin"_s);
    QVERIFY(QDir().mkpath(bin));

    // A Linux install: share/morvel beside bin.
    touch(dir.filePath(u"share/morvel/index.html"_s));
    QCOMPARE(frmAbout::manualPath(bin),
             QFileInfo(dir.filePath(u"share/morvel/index.html"_s)).canonicalFilePath());

    // A portable install: docs next to the program wins.
    touch(dir.filePath(u"bin/docs/index.html"_s));
    QCOMPARE(frmAbout::manualPath(bin),
             QFileInfo(dir.filePath(u"bin/docs/index.html"_s)).canonicalFilePath());
}

void tst_frmAbout::manualOfTheSourceTree()
{
    // A run from the build folder finds the manual in the source tree.
    QTemporaryDir dir;
    const QString path = frmAbout::manualPath(dir.path());
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    QVERIFY(path.endsWith(u"docs/index.html"_s));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    // The page's title is the one the dialog's link shows.
    QVERIFY(html.contains(u"<title>Morvel 使い方"_s));
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
