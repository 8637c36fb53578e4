#include "sky/FieldFacts.h"
#include "sky/FieldSolver.h"
#include "sky/SolveJob.h"
#include "support/StarField.h"
#include "support/TestFiles.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

struct View
{
    SkyPoint centre;
    double width = 0; // degrees
    double up = 0;
    bool mirrored = false;
    QSize size;

    double scale() const { return width * 3600 / size.width(); }
    Wcs wcs() const { return Wcs::fromView(centre, scale(), up, mirrored, size); }
    // The hints a photo of the view would give: its scale within 10%, the place within a degree.
    SolveHints hints() const
    {
        SolveHints h;
        h.scaleLow = scale() * 0.9;
        h.scaleHigh = scale() * 1.1;
        h.position = SkyPoint{centre.ra + 0.3, centre.dec - 0.2};
        h.radius = 1 + width;
        return h;
    }
};

// Processes of this test still running with `text` on their command line.
int processesWith(const QString &text)
{
    int count = 0;
    for (const QString &pid :
         QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        count += TestFiles::readAll("/proc/" + pid + "/cmdline").contains(text.toLocal8Bit());
    return count;
}

// Stars at random: no sky has them, and a blind search goes on for minutes.
QImage madeUpStars()
{
    QImage image(400, 300, QImage::Format_Grayscale8);
    image.fill(30);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    QRandomGenerator random(7);
    for (int i = 0; i < 150; ++i) {
        painter.setBrush(QColor::fromRgb(random.bounded(80, 255), 0, 0));
        painter.drawEllipse(QPointF(random.bounded(400), random.bounded(300)), 1.5, 1.5);
    }
    return image;
}

const View kLagoon{{270.92, -24.38}, 2, 30, false, {800, 533}};

} // namespace

class tst_PlateSolver : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!PlateSolver().program(QStringLiteral("solve-field")).isEmpty() &&
                     !PlateSolver().indexFiles().isEmpty(),
                 qPrintable(PlateSolver::missingMessage()));
        // Temporary folders of the solves go here, where the cancel test looks for them.
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
        m_options.timeLimit = 30;
    }
    void solvesField_data()
    {
        QTest::addColumn<View>("view");
        QTest::addColumn<bool>("scaleKnown");
        QTest::newRow("2° rotated, JPEG") << kLagoon << true;
        QTest::newRow("1° mirrored") << View{{10.68, 41.27}, 1, 200, true, {600, 400}} << true;
        QTest::newRow("5° near the pole, scale unknown")
            << View{{37.95, 88.5}, 5, 300, false, {640, 480}} << false;
    }
    void solvesField()
    {
        QFETCH(View, view);
        QFETCH(bool, scaleKnown);
        const Wcs truth = view.wcs();
        const QString photo = m_dir.filePath(QStringLiteral("%1.jpg").arg(QTest::currentDataTag()));
        QVERIFY(StarField::render(truth).save(photo, "JPEG", 85));
        SolveRequest request{photo, {}, view.hints(), m_options, m_dir.path(), false};
        if (!scaleKnown) {
            request.hints.scaleLow = request.hints.scaleHigh = 0;
            request.hints.position = view.centre;
            request.hints.radius = 5;
        }
        const SolveResult r = FieldSolver::solve(request);
        QVERIFY2(r.isIdentified(), qPrintable(r.message));
        const Wcs &wcs = *r.wcs;
        QCOMPARE(wcs.imageSize(), view.size);
        QVERIFY(skyDistance(wcs.centre(), truth.centre()) < 0.01 * view.width);
        QVERIFY(std::fabs(wcs.pixelScale() / truth.pixelScale() - 1) < 0.01);
        QVERIFY(std::fabs(std::fmod(wcs.upAngle() - truth.upAngle() + 540, 360) - 180) < 1);
        QCOMPARE(wcs.isMirrored(), view.mirrored);
    }
    void namesTargetAndCaches()
    {
        const QString photo = m_dir.filePath(QStringLiteral("lagoon.jpg"));
        QVERIFY(StarField::render(kLagoon.wcs()).save(photo, "JPEG", 90));
        const QString cache = m_dir.filePath(QStringLiteral("cache"));
        SolveRequest request{photo, {}, kLagoon.hints(), m_options, cache, true};
        const SolveResult first = FieldSolver::solve(request);
        QVERIFY2(first.isIdentified(), qPrintable(first.message));
        QCOMPARE(first.source, SolveResult::Source::Solver);
        QCOMPARE(FieldFacts::values(first, AppSettings::Language::English).last().second,
                 QStringLiteral("M 8 (NGC 6523) Lagoon Nebula"));
        QCOMPARE(QDir(cache).entryList(QDir::Files).size(), 1);

        // The same photo again: read back, the same field, without astrometry.net.
        request.solver.programFolder = m_dir.filePath(QStringLiteral("nowhere"));
        const SolveResult again = FieldSolver::solve(request);
        QCOMPARE(again.source, SolveResult::Source::Cache);
        QVERIFY(again.isIdentified());
        QCOMPARE(again.wcs->centre().ra, first.wcs->centre().ra);
        QCOMPARE(again.objects.size(), first.objects.size());
        QCOMPARE(FieldFacts::values(again, AppSettings::Language::Japanese).last().second,
                 QStringLiteral("M 8 (NGC 6523) 干潟星雲"));
    }
    void notIdentified_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("status");
        QTest::newRow("solver missing") << "programs" << int(PlateSolver::Status::Missing);
        QTest::newRow("index files missing") << "indexes" << int(PlateSolver::Status::Missing);
        QTest::newRow("field too small") << "small" << int(PlateSolver::Status::FieldTooSmall);
        QTest::newRow("time limit") << "limit" << int(PlateSolver::Status::TimedOut);
    }
    void notIdentified()
    {
        QFETCH(QString, setting);
        QFETCH(int, status);
        const QImage noise = madeUpStars();
        SolveHints hints;
        PlateSolver::Options options = m_options;
        const QString empty = m_dir.filePath(QStringLiteral("empty"));
        QDir().mkpath(empty);
        if (setting == QLatin1String("programs"))
            options.programFolder = empty;
        if (setting == QLatin1String("indexes"))
            options.indexFolder = empty;
        if (setting == QLatin1String("small"))
            hints = View{kLagoon.centre, 0.15, 0, false, noise.size()}.hints();
        if (setting == QLatin1String("limit"))
            options.timeLimit = 1;
        const PlateSolver::Result r = PlateSolver(options).solve(noise, hints);
        QCOMPARE(int(r.status), status);
        QVERIFY(!r.wcs);
        if (r.status == PlateSolver::Status::Missing)
            QVERIFY(r.message.contains(QStringLiteral("astrometry-data-tycho2-10-19")));
    }
    void cancelEndsEveryProgram()
    {
        // A blind solve, cancelled once it has started, through the background job.
        const QImage noise = madeUpStars();
        SolveJob job;
        QSignalSpy progress(&job, &SolveJob::progress);
        QSignalSpy finished(&job, &SolveJob::finished);
        QVERIFY(job.start({QString(), noise, {}, m_options, m_dir.path(), false}));
        QVERIFY(!job.start({}));
        QTRY_VERIFY(progress.size() >= 2); // solve-field runs
        QTRY_VERIFY(processesWith(m_dir.path()) > 0);
        job.cancel();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
        const auto result = finished.first().first().value<SolveResult>();
        QCOMPARE(result.status, PlateSolver::Status::Cancelled);
        QCOMPARE(processesWith(m_dir.path()), 0);
    }

private:
    QTemporaryDir m_dir;
    PlateSolver::Options m_options;
};

QTEST_MAIN(tst_PlateSolver)
#include "tst_PlateSolver.moc"
