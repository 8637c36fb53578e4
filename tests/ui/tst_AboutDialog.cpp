#include "support/FakePlatformServices.h"
#include "ui/AboutDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
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

} // namespace

class tst_AboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void layoutTextsLinksAndKeys()
    {
        FakePlatformServices services;
        const QUrl manual(u"file:///usr/share/morvel/doc/index.html"_s);
        AboutDialog dialog(services, nullptr, manual);
        QCOMPARE(dialog.windowTitle(), u"ﾊﾞｰｼﾞｮﾝ情報"_s);
        QCOMPARE(child<QLabel>(&dialog, u"lblUrl"_s)->text(), manual.toString());
        // Both links open the manual; the title is no link.
        for (const QString &name : {u"lblHome"_s, u"lblUrl"_s, u"lblTitle"_s}) {
            auto *label = child<QLabel>(&dialog, name);
            QCOMPARE(label->font().underline(), name != u"lblTitle"_s);
            if (label->font().underline())
                QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        }
        showActive(&dialog);
        for (const QString &name : {u"lblHome"_s, u"lblUrl"_s, u"lblTitle"_s})
            QTest::mouseClick(child<QLabel>(&dialog, name), Qt::LeftButton);
        QCOMPARE(services.openedUrls, (QList<QUrl>{manual, manual}));
        // Return presses OK, which closes it.
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    }
    void manualPath()
    {
        // A run from the build folder finds the manual in the source tree.
        QTemporaryDir dir;
        const QString source = AboutDialog::manualPath(dir.path());
        QVERIFY2(QFileInfo::exists(source) && source.endsWith(u"docs/index.html"_s),
                 qPrintable(source));
        const QString bin = dir.filePath(u"bin"_s);
        QVERIFY(QDir().mkpath(bin));

        // A Linux install: share/morvel/doc beside bin; a portable one: docs next to the program
        // wins.
        for (const QString &manual : {u"share/morvel/doc"_s, u"bin/docs"_s}) {
            QVERIFY(QDir(dir.path()).mkpath(manual));
            QVERIFY(QFile(dir.filePath(manual + u"/index.html"_s)).open(QIODevice::WriteOnly));
            QCOMPARE(AboutDialog::manualPath(bin),
                     QFileInfo(dir.filePath(manual + u"/index.html"_s)).canonicalFilePath());
        }
    }
};

QTEST_MAIN(tst_AboutDialog)
#include "tst_AboutDialog.moc"
