#include "MainWindow.h"

#include "AppIcons.h"
#include "AppTexts.h"
#include "ColorSwatch.h"
#include "EditingPanel.h"
#include "MainCommands.h"
#include "MainStatusBar.h"
#include "PreviewWindow.h"
#include "SubframeReader.h"

#include "compose/CaptionFill.h"
#include "compose/DateStyle.h"
#include "compose/FontSetup.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewCommand.h"
#include "io/ExistingFolder.h"
#include "io/LoadPicture.h"
#include "io/PhotoMetadata.h"
#include "sky/FieldFacts.h"
#include "sky/SkyCatalogue.h"
#include "sky/SolveJob.h"
#include "store/AppSettings.h"
#include "store/ProgramFolder.h"
#include "store/TemplateFile.h"
#include "ui/AboutDialog.h"
#include "ui/ColorChooser.h"
#include "ui/PlatformServices.h"
#include "ui/SettingsDialog.h"
#include "ui/SkyOverlayDialog.h"
#include "ui/UiFonts.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLayout>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <cmath>

namespace T = MainWindowTexts;

namespace {

// The window's own sizes, in twips.
constexpr int InitialClientWidth = 9480;
constexpr int InitialClientHeight = 6510;
constexpr int ToolbarHeight = 420;
constexpr int StatusBarHeight = 315;

} // namespace

MainWindow::MainWindow(PlatformServices *services, const QString &programFolder, QWidget *parent)
    : MainWindow(services, ProgramFolder::Place{programFolder, programFolder}, parent)
{}

MainWindow::MainWindow(PlatformServices *services, const ProgramFolder::Place &place,
                       QWidget *parent)
    : QMainWindow(parent), m_services(services), m_programFolder(place.folder),
      m_pictureFolder(place.pictures), m_twips(Twips::screen())
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromLatin1(T::WindowCaption));
    setWindowIcon(AppIcons::applicationIcon());
    setFont(QFont(QString::fromUtf16(UiFonts::PGothic), 9));

    m_commands = std::make_unique<MainCommands>(this, Twips::toPixels(ToolbarHeight, m_twips.y));
    connectCommands();
    m_statusBar = new MainStatusBar(*m_services, this);
    setStatusBar(m_statusBar);

    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_panel = new EditingPanel;
    connect(m_panel, &EditingPanel::previewClicked, this, &MainWindow::preview);
    connect(m_panel, &EditingPanel::nowDateClicked, this, &MainWindow::setDateToNow);
    connect(m_panel, &EditingPanel::colorClicked, this, &MainWindow::chooseColor);
    connect(m_panel, &EditingPanel::edited, this, &MainWindow::panelEdited);
    m_subframes = new SubframeReader(this);
    connect(m_subframes, &SubframeReader::finished, this,
            [this](const SubframeSummary &summary) { fillPanel(m_fillAfterLoad, &summary); });
    m_cancelSolve = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_cancelSolve->setEnabled(false);
    connect(m_cancelSolve, &QShortcut::activated, this, &MainWindow::cancelSolve);
    m_liveTimer = new QTimer(this);
    m_liveTimer->setSingleShot(true);
    m_liveTimer->setInterval(LivePreviewDelayMs);
    connect(m_liveTimer, &QTimer::timeout, this, [this] { runPreview(false); });
    row->addWidget(m_panel);
    m_mdiArea = new QMdiArea(central);
    m_mdiArea->setObjectName(QStringLiteral("MDIClient"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->installEventFilter(this);
    row->addWidget(m_mdiArea, 1);
    setCentralWidget(central);

    // The window the system gives a first start: the client area of 9480 x 6510 twips next to
    // the panel.
    const auto px = [this](int twips) { return Twips::toPixels(twips, m_twips.x); };
    const auto py = [this](int twips) { return Twips::toPixels(twips, m_twips.y); };
    resize(m_panel->minimumWidth() + px(InitialClientWidth) + 4,
           menuBar()->sizeHint().height() + py(ToolbarHeight) + py(InitialClientHeight) +
               py(StatusBarHeight));

    readSettings();
}

MainWindow::~MainWindow() = default; // Terminate: the settings object goes with the window

QString MainWindow::defaultTemplatePath() const
{
    return ProgramFolder::filePath(m_programFolder, QString::fromLatin1(T::DefaultTemplateName));
}

QString MainWindow::settingsPath() const
{
    return ProgramFolder::filePath(m_programFolder, QString::fromLatin1(AppSettings::FileName));
}

// ---------------------------------------------------------------------------------------------
// Building the window

void MainWindow::connectCommands()
{
    const MainCommands &c = *m_commands;
    const std::pair<QAction *, void (MainWindow::*)()> commands[] = {
        {c.loadTemplate, &MainWindow::loadTemplate},
        {c.saveTemplate, &MainWindow::saveTemplate},
        {c.exit, &MainWindow::quit},
        {c.setup, &MainWindow::showSettings},
        {c.setDefault, &MainWindow::saveStartupTemplate},
        {c.loadPhoto, &MainWindow::openPhoto},
        {c.removePhoto, &MainWindow::removePhoto},
        {c.fillFromPhoto, &MainWindow::fillFromPhoto},
        {c.chooseSubframes, &MainWindow::chooseSubframes},
        {c.forgetSubframes, &MainWindow::forgetSubframes},
        {c.skyOverlay, &MainWindow::editSkyOverlay},
        {c.copyClipboard, &MainWindow::copyPicture},
        {c.savePhoto, &MainWindow::savePicture},
        {c.fitWindow, &MainWindow::toggleFitWindow},
        {c.version, &MainWindow::showAbout},
    };
    for (const auto &[action, slot] : commands)
        connect(action, &QAction::triggered, this, slot);
}

// ---------------------------------------------------------------------------------------------
// Lifecycle

void MainWindow::readSettings()
{
    m_settings =
        std::make_unique<AppSettings>(m_programFolder, m_pictureFolder, m_twips.x, m_twips.y);
    m_settings->load(settingsPath());
    m_frame.borderWidth = 1;
    m_statusBar->setPanelText(colorDepthText(screenColorCount()));
    m_commands->fitWindow->setChecked(m_settings->fitWindow());
}

double MainWindow::screenColorCount() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s || s->depth() <= 0)
        return 0;
    const int planes = 1;
    return std::ldexp(1.0, s->depth()) * planes;
}

QString MainWindow::colorDepthText(double colorCount)
{
    if (colorCount == std::ldexp(1.0, 32))
        return tr(T::TrueColor32);
    if (colorCount == std::ldexp(1.0, 24))
        return tr(T::TrueColor24);
    if (colorCount == std::ldexp(1.0, 16))
        return tr(T::HighColor16);
    return QString::number(colorCount, 'f', 0) + tr(T::ColorsSuffix);
}

void MainWindow::start()
{
    if (m_settings->keepWindowGeometry()) {
        move(Twips::toPixels(m_settings->x(), m_twips.x),
             Twips::toPixels(m_settings->y(), m_twips.y));
        resize(Twips::toPixels(m_settings->width(), m_twips.x),
               Twips::toPixels(m_settings->height(), m_twips.y));
    }
    m_panel->setFontNames(FontSetup::panelFontNames());
    fillMonthList();
    arrangeDateFields();
    setPanelValues(PanelValues::startupDefaults(m_services->now(), m_panel->fontNames(),
                                                m_settings->englishMonths()));
    loadTemplateFile(defaultTemplatePath(), true);

    // The client area takes its size before the first picture is fitted into it.
    if (layout())
        layout()->activate();
    if (centralWidget()->layout())
        centralWidget()->layout()->activate();
    preview();
    show();
}

bool MainWindow::confirmQuit()
{
    const QMessageBox::StandardButton answer =
        m_services->message(this, QMessageBox::Question, tr(T::QuitCaption), tr(T::QuitQuestion),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

bool MainWindow::saveState()
{
    const QRect frame = frameGeometry();
    m_settings->setX(Twips::fromPixels(frame.x(), m_twips.x));
    m_settings->setY(Twips::fromPixels(frame.y(), m_twips.y));
    // The size without the window manager's frame, so that a stored rectangle comes back as it
    // was: moving places the frame, resizing sets the size inside it.
    m_settings->setWidth(Twips::fromPixels(width(), m_twips.x));
    m_settings->setHeight(Twips::fromPixels(height(), m_twips.y));
    while (!m_settings->save(settingsPath())) {
        const QMessageBox::StandardButton answer = m_services->message(
            this, QMessageBox::Warning, AppTexts::saveFailedCaption(),
            tr(T::SaveFailedText).arg(settingsPath(), m_settings->errorString()),
            QMessageBox::Retry | QMessageBox::Ignore | QMessageBox::Cancel, QMessageBox::Retry);
        if (answer == QMessageBox::Ignore)
            break;
        if (answer != QMessageBox::Retry)
            return false;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->ignore();
        return;
    }
    m_closing = true;
    const bool close = confirmQuit() && saveState();
    m_closing = false;
    if (close) {
        m_statusBar->stopClock();
        event->accept();
    } else {
        event->ignore();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mdiArea && event->type() == QEvent::Resize)
        clientAreaResized();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::clientAreaResized()
{
    if (!isVisible())
        return;
    ensurePreview();
    // A photo of the wrong size was told when it was composed; a resize only redraws.
    const ComposeOutcome outcome =
        m_preview->compose(m_frame, LayoutMargins::fromSettings(*m_settings), false);
    reportComposition(outcome);
}

PreviewWindow *MainWindow::ensurePreview()
{
    if (!m_preview) {
        m_preview = new PreviewWindow(m_mdiArea, m_services, m_settings.get(), &m_frame);
        connect(m_preview, &PreviewWindow::composed, this, &MainWindow::reportComposition);
        connect(m_preview, &PreviewWindow::photoLoaded, this, [this] {
            // A solve of the photo before does not fill the panel for this one.
            if (isSolving() && m_preview->photoPath() != m_solvePhoto)
                dropSolve();
            // Another photo has no solution yet; the same one again keeps its own.
            emit photoSolutionChanged(photoSolution());
            if (m_settings->fillOnLoad())
                fillPanelFromPhoto(true);
        });
        connect(m_preview, &PreviewWindow::statusMessage, m_statusBar,
                [this](const QString &text) { m_statusBar->showMessage(text); });
    }
    return m_preview;
}

// ---------------------------------------------------------------------------------------------
// Panel and templates

PanelValues MainWindow::panelValues() const
{
    PanelValues values = m_panel->panelValues();
    values.subframeFolder = m_subframeFolder;
    values.sky = m_sky;
    return values;
}

void MainWindow::setPanelValues(const PanelValues &values)
{
    m_panel->setPanelValues(values);
    m_subframeFolder = values.subframeFolder;
    m_sky = values.sky;
    m_commands->forgetSubframes->setEnabled(!m_subframeFolder.isEmpty());
}

void MainWindow::fillMonthList()
{
    m_panel->fillMonthList(m_settings->englishMonths());
}

void MainWindow::arrangeDateFields()
{
    m_panel->arrangeDateFields(DateStyle::orderFromCode(m_settings->dateFormat()));
}

bool MainWindow::loadTemplateFile(const QString &path, bool keepDateAndTime)
{
    TemplateFile tpl;
    if (!tpl.load(path))
        return false;
    PanelValues values = panelValues();
    values.applyTemplate(tpl, keepDateAndTime, m_panel->fontNames());
    setPanelValues(values);
    m_lastFill = {}; // the template's texts are not the fill's
    return true;
}

bool MainWindow::saveTemplateFile(const QString &path)
{
    TemplateFile tpl;
    panelValues().toTemplate(tpl);
    if (tpl.save(path, true)) {
        m_statusBar->showMessage(
            tpl.utf8Character().isEmpty()
                ? AppTexts::savedText(path)
                : tr(T::SavedAsUtf8Text).arg(QDir::toNativeSeparators(path), tpl.utf8Character()));
        return true;
    }
    reportSaveFailure(path, tpl.errorString());
    return false;
}

void MainWindow::reportSaveFailure(const QString &path, const QString &reason)
{
    m_services->message(this, QMessageBox::Warning, AppTexts::saveFailedCaption(),
                        tr(T::SaveFailedText).arg(QDir::toNativeSeparators(path), reason),
                        QMessageBox::Ok, QMessageBox::Ok);
}

void MainWindow::loadTemplate()
{
    const QString chosen =
        m_services->openFileName(this, PlatformServices::FileDialogOptions::forOpen(
                                           tr(T::TemplateFilter), m_settings->templatePath()));
    if (chosen.isEmpty())
        return;
    m_templateDialogName = chosen;
    loadTemplateFile(chosen, false);
    m_settings->setTemplatePath(existingFolder(chosen));
    preview();
}

void MainWindow::saveTemplate()
{
    const QString chosen = m_services->saveFileName(
        this, PlatformServices::FileDialogOptions::forSave(
                  tr(T::TemplateFilter), m_settings->templatePath(), m_templateDialogName));
    if (chosen.isEmpty())
        return;
    m_templateDialogName = chosen;
    // A failed write was told to the user; the folder last used stays as it was.
    if (saveTemplateFile(chosen))
        m_settings->setTemplatePath(existingFolder(chosen));
}

void MainWindow::saveStartupTemplate()
{
    // The program's own folder (a per-user configuration folder) is made on its first use; a
    // user's template goes only where a folder is.
    QDir().mkpath(m_programFolder);
    saveTemplateFile(defaultTemplatePath());
}

// ---------------------------------------------------------------------------------------------
// Commands

void MainWindow::readPanel()
{
    PreviewCommand::toFrameDescription(panelValues(), DateStyle::fromSettings(*m_settings),
                                       m_frame);
}

void MainWindow::preview()
{
    runPreview(true);
}

void MainWindow::runPreview(bool tellPhotoSize)
{
    m_liveTimer->stop();
    readPanel();
    ensurePreview();
    const ComposeOutcome outcome =
        m_preview->compose(m_frame, LayoutMargins::fromSettings(*m_settings), tellPhotoSize);
    reportComposition(outcome);
    if (tellPhotoSize || outcome.shrinkWouldFit)
        return;
    if (outcome.kind == ComposeOutcome::Kind::LayoutRefused)
        m_statusBar->showMessage(
            tr(T::FrameSizeOutOfRange)
                .arg(panelValues().photoSizeText, ComposeOutcome::sizeMessage()));
    else if (outcome.kind == ComposeOutcome::Kind::PhotoSizeRefused)
        m_statusBar->showMessage(tr(T::PhotoSizeOutOfRange)
                                     .arg(m_frame.photoWidth)
                                     .arg(m_frame.photoHeight)
                                     .arg(ComposeOutcome::sizeMessage()));
}

void MainWindow::panelEdited()
{
    if (m_settings->livePreview())
        m_liveTimer->start();
}

bool MainWindow::livePreviewPending() const
{
    return m_liveTimer->isActive();
}

void MainWindow::flushLivePreview()
{
    if (livePreviewPending())
        runPreview(false);
}

void MainWindow::reportComposition(const ComposeOutcome &outcome)
{
    m_lastOutcome = outcome;
    if (outcome.kind == ComposeOutcome::Kind::Failed ||
        outcome.kind == ComposeOutcome::Kind::PhotoUnreadable)
        m_statusBar->showMessage(tr(T::ComposeFailedText).arg(outcome.message));
    else if (outcome.shrinkWouldFit)
        m_statusBar->showMessage(ComposeOutcome::shrinkHint());
    else if (!outcome.notice.isEmpty())
        m_statusBar->showMessage(outcome.notice);
    else
        m_statusBar->clearMessage();
}

// The picture is not composed again.
void MainWindow::setDateToNow()
{
    m_panel->setDateAndTime(m_services->now());
}

void MainWindow::quit()
{
    close();
}

// The month list and the date order follow the settings as soon as the dialog closes; the picture
// shows the rest at the next Preview.
void MainWindow::showSettings()
{
    SettingsDialog::showModal(this, *m_settings);
    const int month = m_panel->monthIndex();
    fillMonthList();
    m_panel->setMonthIndex(month);
    arrangeDateFields();
}

void MainWindow::showAbout()
{
    AboutDialog::showModal(this, *m_services);
}

void MainWindow::openPhoto()
{
    ensurePreview()->openPhoto();
}

// Without its photo the picture takes the photo size of the panel again; everything else stays
// as the last Preview left it.
void MainWindow::removePhoto()
{
    PreviewCommand::takePhotoSize(panelValues().photoSizeText, m_frame);
    dropSolve();
    ensurePreview()->removePhoto();
    emit photoSolutionChanged(std::nullopt);
}

void MainWindow::fillFromPhoto()
{
    // The command again while the field is solved cancels the solve.
    if (isSolving()) {
        cancelSolve();
        return;
    }
    fillPanelFromPhoto(false);
}

void MainWindow::fillPanelFromPhoto(bool afterLoad)
{
    const QString photo = m_preview ? m_preview->photoPath() : QString();
    if (photo.isEmpty() && m_subframeFolder.isEmpty()) {
        m_statusBar->showMessage(tr(T::FillWithoutPhoto));
        return;
    }
    m_fieldValues.clear();
    m_solveNotice.clear();
    if (m_settings->solveField() && !photo.isEmpty()) {
        startSolve(photo, afterLoad);
        return;
    }
    continueFill(afterLoad);
}

bool MainWindow::isSolving() const
{
    return m_solveJob && m_solveJob->isRunning();
}

void MainWindow::cancelSolve()
{
    if (m_solveJob)
        m_solveJob->cancel();
}

std::optional<Wcs> MainWindow::photoSolution() const
{
    return m_preview ? m_preview->composer().photoWcs() : std::nullopt;
}

void MainWindow::startSolve(const QString &photo, bool afterLoad)
{
    // A solve under way belongs to the photo before: it stops, and its result is dropped.
    dropSolve();
    m_solvePhoto = photo;
    SolveRequest request;
    request.photoPath = photo;
    request.solver = m_solverOptions;
    request.solver.timeLimit = std::max(1, m_settings->solveTimeout());
    request.cacheFolder = m_solveCacheFolder;
    // The hints in the photo's own pixels, the typed target among them; a name the last fill
    // wrote is the fill's, not the user's.
    const PanelValues panel = panelValues();
    const bool fillsName = m_lastFill.written[CaptionFill::TargetName] &&
                           panel.targetName == m_lastFill.panel.targetName;
    PhotoMetadata data;
    PhotoMetadata::read(photo, &data);
    const LoadPicture::Header header = LoadPicture::readHeader(photo);
    request.hints = SolveHints::fromMetadata(
        data, header.size, fillsName ? QString() : panel.targetName, SkyCatalogue::builtIn());
    m_fillAfterLoad = afterLoad;
    m_solveJob = new SolveJob(this);
    connect(m_solveJob, &SolveJob::progress, this, [this](const QString &text) {
        m_statusBar->showMessage(tr(T::SolveProgress).arg(text));
    });
    connect(m_solveJob, &SolveJob::finished, this, &MainWindow::solveFinished);
    m_cancelSolve->setEnabled(true);
    m_statusBar->showMessage(tr(T::SolveStarted));
    m_solveJob->start(request);
}

void MainWindow::dropSolve()
{
    if (!m_solveJob)
        return;
    m_solveJob->disconnect(this);
    m_solveJob->cancel();
    m_solveJob->deleteLater();
    m_solveJob = nullptr;
    m_cancelSolve->setEnabled(false);
}

void MainWindow::solveFinished(const SolveResult &result)
{
    m_cancelSolve->setEnabled(false);
    if (m_solveJob) {
        m_solveJob->deleteLater();
        m_solveJob = nullptr;
    }
    const QString photo = m_preview ? m_preview->photoPath() : QString();
    const AppSettings::Language language = m_settings->language();
    if (!result.isIdentified()) {
        // Cancelled, not identified or a missing solver (the message names the packages to
        // install): the fill goes on as without a solve.
        m_solveNotice = result.message;
    } else {
        m_fieldValues = FieldFacts::values(result, language);
        m_preview->composer().setPhotoSolution(
            PreviewComposer::PhotoSolution{photo, *result.wcs, result.objects});
        m_preview->composer().setOverlayLanguage(language);
        const auto value = [this](int i) { return m_fieldValues.at(i).second; };
        m_solveNotice = result.targetOutsideField
                            ? result.targetMessage
                            : tr(T::SolveIdentified).arg(value(0), value(1), value(2));
        emit photoSolutionChanged(result.wcs);
    }
    continueFill(m_fillAfterLoad);
}

void MainWindow::continueFill(bool afterLoad)
{
    if (m_subframeFolder.isEmpty()) {
        fillPanel(afterLoad, nullptr);
        return;
    }
    // The fill follows once the sub-frames are read; a reading under way fills when it ends.
    m_fillAfterLoad = afterLoad;
    m_subframes->start(m_subframeFolder);
}

void MainWindow::fillPanel(bool afterLoad, const SubframeSummary *subframes)
{
    if (subframes && subframes->isCancelled()) {
        m_statusBar->showMessage(subframes->report());
        return;
    }
    const QString photo = m_preview ? m_preview->photoPath() : QString();
    const PanelValues before = panelValues();
    const CaptionFill::Result filled = CaptionFill::fillFromPhoto(
        photo, before, *m_settings, m_lastFill, subframes, m_fieldValues);
    if (!filled.error.isEmpty()) {
        m_statusBar->showMessage(tr(T::FillFailed).arg(filled.error));
        return;
    }
    if (filled.hasData || filled.panel != before) {
        setPanelValues(filled.panel);
        m_lastFill.panel = panelValues(); // as the panel holds it
        runPreview(!afterLoad);
    }
    // What was read, unless the composition has something to tell.
    if (subframes && (!filled.hasData || m_statusBar->currentMessage().isEmpty()))
        m_statusBar->showMessage(subframes->report());
    else if (!subframes && !filled.hasData && !afterLoad)
        m_statusBar->showMessage(tr(T::FillWithoutData).arg(QFileInfo(photo).fileName()));
    // What the solve found, or why not: last, over the composition's report.
    if (!m_solveNotice.isEmpty())
        m_statusBar->showMessage(m_solveNotice);
    m_fieldValues.clear();
    m_solveNotice.clear();
}

void MainWindow::chooseSubframes()
{
    // The folder chosen before, else the photo's, else where photos are opened.
    const QString start = !m_subframeFolder.isEmpty() ? m_subframeFolder
                          : m_preview && !m_preview->photoPath().isEmpty()
                              ? existingFolder(m_preview->photoPath())
                              : m_settings->loadPath();
    const QString folder = m_services->chooseFolder(this, tr(T::SubframeFolderTitle), start);
    if (folder.isEmpty())
        return;
    PanelValues values = panelValues();
    values.subframeFolder = QDir::toNativeSeparators(folder);
    setPanelValues(values);
    fillPanelFromPhoto(false);
}

void MainWindow::forgetSubframes()
{
    PanelValues values = panelValues();
    values.subframeFolder.clear();
    setPanelValues(values);
    m_statusBar->showMessage(tr(T::SubframesForgotten));
}

// A copy or save just after typing with the live preview on takes what was typed.
void MainWindow::copyPicture()
{
    flushLivePreview();
    ensurePreview()->copyToClipboard();
}

void MainWindow::savePicture()
{
    flushLivePreview();
    ensurePreview()->savePicture();
}

// The view only: saving, copying and drops keep the canvas at its full size.
void MainWindow::toggleFitWindow()
{
    m_settings->setFitWindow(m_commands->fitWindow->isChecked());
    if (m_preview)
        m_preview->fitToCanvas();
}

void MainWindow::editSkyOverlay()
{
    PanelValues values = panelValues();
    if (!SkyOverlayDialog::edit(this, *m_services, m_panel->fontNames(), &values.sky))
        return;
    setPanelValues(values);
    if (m_preview)
        m_preview->composer().setOverlayLanguage(m_settings->language());
    runPreview(false);
}

// A new colour shows at the next Preview.
void MainWindow::chooseColor(ColorSwatch *swatch)
{
    ColorChooser::chooseSwatchColor(this, swatch, *m_services);
}
