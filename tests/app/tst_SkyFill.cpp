#include "AppSession.h"
#include "app/PreviewWindow.h"
#include "compose/FontSetup.h"
#include "support/SolvedFits.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

namespace {

// Made-up stars: no index matches them, and a blind search goes on for long.
QString madeUpStars(Session &s)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QRandomGenerator random(3);
    for (int i = 0; i < 150; ++i)
        painter.drawEllipse(QPointF(random.bounded(400), random.bounded(300)), 1.5, 1.5);
    const QString path = s.path(QStringLiteral("stars.png"));
    return image.save(path) ? path : QString();
}

} // namespace

class tst_SkyFill : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FontSetup::install(); }
    void fillNamesTargetAndKeepsTypedOne_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name takes the target") << ""
                                                     << "M 8 (NGC 6523) 干潟星雲"
                                                     << "写野: 18h03m";
        QTest::newRow("typed name in the field is kept") << "NGC 6530"
                                                         << "NGC 6530"
                                                         << "写野: 18h03m";
        QTest::newRow("typed name outside the field is told")
            << "M31"
            << "M31"
            << "入力された対象「M31」は写野の外にあります。対象名はそのままにします。";
    }
    void fillNamesTargetAndKeepsTypedOne()
    {
        QFETCH(QString, typed);
        QFETCH(QString, target);
        QFETCH(QString, message);
        Session s;
        MainWindow &w = s.start();
        w.settings().setSolveField(true);
        w.settings().setCaptionPattern(0, QStringLiteral("{RA} {DEC} [{FOV}]"));
        w.setSolveCacheFolder(s.path(QStringLiteral("cache")));
        // A FITS photo whose header places it on the sky: 2° wide, north up.
        s.services.openAnswers.enqueue(s.path(QStringLiteral("lagoon.fits")));
        QVERIFY(writeSolvedFits(s.services.openAnswers.head(),
                                Wcs::fromView({270.9, -24.38}, 30, 0, false, QSize(240, 160))));
        w.openPhoto();
        s.edit("txtTargetName")->setText(typed);
        QSignalSpy solved(&w, &MainWindow::photoSolutionChanged);
        s.find<QAction>("IDM_FILLFROMPHOTO")->trigger();
        QVERIFY(w.isSolving()); // in the background, even for a header's WCS
        QTRY_VERIFY(!w.isSolving());
        QCOMPARE(s.edit("txtTargetName")->text(), target);
        QCOMPARE(s.edit("txtFooter(0)")->text(),
                 QStringLiteral("18h03m36s −24°22′48″ 2.00°×1.33°"));
        QVERIFY2(w.statusBar()->currentMessage().startsWith(message),
                 qPrintable(w.statusBar()->currentMessage()));
        QCOMPARE(solved.size(), 1);
        QVERIFY(w.photoSolution() && w.photoSolution()->imageSize() == QSize(240, 160));

        // The overlay on, from its dialog: drawn inside the photo, the frame as it was.
        const QRect area = w.previewWindow()->composer().drawnFrame().photoArea;
        onNextModal([](QWidget *dialog) {
            dialog->findChild<QCheckBox *>(QStringLiteral("chkSkyOverlay"))->setChecked(true);
            static_cast<QDialog *>(dialog)->accept();
        });
        s.find<QAction>("IDM_SKYOVERLAY")->trigger();
        QCOMPARE(w.previewWindow()->composer().drawnFrame().photoArea, area);
        const SkyOverlay::Layout &overlay = w.previewWindow()->composer().overlayLayout();
        QVERIFY(overlay.compass && overlay.scaleBar);
    }
    // The solver's own failures (a missing program) reach the status bar the same way.
    void escCancelsTheSolve()
    {
        Session s;
        MainWindow &w = s.start();
        w.settings().setSolveField(true);
        w.setSolveCacheFolder(s.path(QStringLiteral("cache")));
        s.services.openAnswers.enqueue(madeUpStars(s));
        w.openPhoto();
        s.edit("txtTargetName")->setText(QStringLiteral("typed"));
        s.find<QAction>("IDM_FILLFROMPHOTO")->trigger();
        QVERIFY(w.isSolving());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::qWait(300);
        QTest::keyClick(&w, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSolving(), 5000);
        QCOMPARE(w.statusBar()->currentMessage(), QString("写野の解析を取り消しました。"));
        QCOMPARE(s.edit("txtTargetName")->text(), QStringLiteral("typed"));
        QVERIFY(!w.photoSolution());
    }
    // A photo loaded while the one before is solved: the solve's result never reaches the new
    // photo.
    void anotherPhotoDropsTheSolve()
    {
        Session s;
        MainWindow &w = s.start();
        w.settings().setSolveField(true);
        w.setSolveCacheFolder(s.path(QStringLiteral("cache")));
        s.services.openAnswers.enqueue(s.path(QStringLiteral("lagoon.fits")));
        QVERIFY(writeSolvedFits(s.services.openAnswers.head(),
                                Wcs::fromView({270.9, -24.38}, 30, 0, false, QSize(240, 160))));
        w.openPhoto();
        s.find<QAction>("IDM_FILLFROMPHOTO")->trigger();
        QVERIFY(w.isSolving());
        s.services.openAnswers.enqueue(madeUpStars(s));
        w.openPhoto();
        QVERIFY(!w.isSolving());
        QTest::qWait(200);
        QVERIFY(!w.photoSolution());
        QCOMPARE(s.edit("txtTargetName")->text(), QString());
    }
};

QTEST_MAIN(tst_SkyFill)
#include "tst_SkyFill.moc"
