#include "frmMdiMain.h"

#include "AppIcons.h"
#include "AppTexts.h"
#include "ColorSwatch.h"
#include "EditingPanel.h"
#include "MainCommands.h"
#include "MainStatusBar.h"
#include "frmPreview.h"

#include "compose/CaptionFill.h"
#include "compose/DateStyle.h"
#include "compose/FontSetup.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewCommand.h"
#include "io/GetFileFolder.h"
#include "store/ProgramFolder.h"
#include "store/clsNoltIO.h"
#include "store/clsTemplateIO.h"
#include "ui/BasCmndlg.h"
#include "ui/PlatformServices.h"
#include "ui/UiFonts.h"
#include "ui/frmAbout.h"
#include "ui/frmSetup.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLayout>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
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

frmMdiMain::frmMdiMain(PlatformServices *services, const QString &programFolder, QWidget *parent)
    : frmMdiMain(services, ProgramFolder::Place{programFolder, programFolder}, parent)
{}

frmMdiMain::frmMdiMain(PlatformServices *services, const ProgramFolder::Place &place,
                       QWidget *parent)
    : QMainWindow(parent), m_services(services), m_programFolder(place.folder),
      m_pictureFolder(place.pictures), m_twips(Twips::screen())
{
    setObjectName(QStringLiteral("frmMdiMain"));
    setWindowTitle(QString::fromLatin1(T::WindowCaption));
    setWindowIcon(AppIcons::applicationIcon());
    setFont(QFont(QString::fromUtf16(UiFonts::PGothic), 9));

    m_hook = new BasHook(*m_services, this);
    m_commands = std::make_unique<MainCommands>(this, Twips::toPixels(ToolbarHeight, m_twips.y));
    connectCommands();
    m_statusBar = new MainStatusBar(*m_services, this);
    setStatusBar(m_statusBar);

    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    Picture1 = new EditingPanel(*m_hook);
    connect(Picture1, &EditingPanel::previewClicked, this, &frmMdiMain::cmdPreview_Click);
    connect(Picture1, &EditingPanel::nowDateClicked, this, &frmMdiMain::cmdNowDate_Click);
    connect(Picture1, &EditingPanel::colorClicked, this, &frmMdiMain::swatch_Click);
    connect(Picture1, &EditingPanel::edited, this, &frmMdiMain::panelEdited);
    m_liveTimer = new QTimer(this);
    m_liveTimer->setSingleShot(true);
    m_liveTimer->setInterval(LivePreviewDelayMs);
    connect(m_liveTimer, &QTimer::timeout, this, [this] { preview(false); });
    row->addWidget(Picture1);
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
    resize(Picture1->minimumWidth() + px(InitialClientWidth) + 4,
           menuBar()->sizeHint().height() + py(ToolbarHeight) + py(InitialClientHeight) +
               py(StatusBarHeight));

    Form_Initialize();
}

frmMdiMain::~frmMdiMain() = default; // Terminate: the settings object goes with the window

QString frmMdiMain::defaultTemplatePath() const
{
    return ProgramFolder::filePath(m_programFolder, QString::fromLatin1(T::DefaultTemplateName));
}

QString frmMdiMain::settingsPath() const
{
    return ProgramFolder::filePath(m_programFolder, QString::fromLatin1(clsNoltIO::FileName));
}

// ---------------------------------------------------------------------------------------------
// Building the window

void frmMdiMain::connectCommands()
{
    const MainCommands &c = *m_commands;
    const std::pair<QAction *, void (frmMdiMain::*)()> commands[] = {
        {c.loadTemplate, &frmMdiMain::IDMI_LOADTEMPLATE_Click},
        {c.saveTemplate, &frmMdiMain::IDMI_SAVETEMPLATE_Click},
        {c.exit, &frmMdiMain::IDMI_EXIT_Click},
        {c.setup, &frmMdiMain::IDMI_SETUP_Click},
        {c.setDefault, &frmMdiMain::IDMI_SETDEFAULT_Click},
        {c.loadPhoto, &frmMdiMain::IDM_LOADPHOTO_Click},
        {c.removePhoto, &frmMdiMain::IDM_REMOVEPHOTO_Click},
        {c.fillFromPhoto, &frmMdiMain::IDM_FILLFROMPHOTO_Click},
        {c.copyClipboard, &frmMdiMain::IDM_COPYCLIPBOARD_Click},
        {c.savePhoto, &frmMdiMain::IDM_SAVEPHOTO_Click},
        {c.fitWindow, &frmMdiMain::IDM_FITWINDOW_Click},
        {c.version, &frmMdiMain::IDMI_VERSION_Click},
    };
    for (const auto &[action, slot] : commands)
        connect(action, &QAction::triggered, this, slot);
}

// ---------------------------------------------------------------------------------------------
// Lifecycle

void frmMdiMain::Form_Initialize()
{
    m_settings =
        std::make_unique<clsNoltIO>(m_programFolder, m_pictureFolder, m_twips.x, m_twips.y);
    m_settings->OpenFile(settingsPath());
    m_frame.BorderWidth = 1;
    m_statusBar->setPanelText(colorDepthText(GetColorCount()));
    m_commands->fitWindow->setChecked(m_settings->fitWindow());
}

double frmMdiMain::GetColorCount() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s || s->depth() <= 0)
        return 0;
    const int planes = 1;
    return std::ldexp(1.0, s->depth()) * planes;
}

QString frmMdiMain::colorDepthText(double colorCount)
{
    if (colorCount == std::ldexp(1.0, 32))
        return tr(T::TrueColor32);
    if (colorCount == std::ldexp(1.0, 24))
        return tr(T::TrueColor24);
    if (colorCount == std::ldexp(1.0, 16))
        return tr(T::HighColor16);
    return QString::number(colorCount, 'f', 0) + tr(T::ColorsSuffix);
}

void frmMdiMain::Form_Load()
{
    if (m_settings->SavePosition() != 0) {
        move(Twips::toPixels(m_settings->X(), m_twips.x),
             Twips::toPixels(m_settings->Y(), m_twips.y));
        resize(Twips::toPixels(m_settings->Width(), m_twips.x),
               Twips::toPixels(m_settings->Height(), m_twips.y));
    }
    Picture1->setFontNames(FontSetup::panelFontNames());
    FillMonthList();
    ArrangeDateFields();
    setPanelValues(PanelValues::startupDefaults(m_services->now(), Picture1->fontNames(),
                                                m_settings->ThreeCharMonth() != 0));
    LoadTemplateFile(defaultTemplatePath(), true);

    // The client area takes its size before the first picture is fitted into it.
    if (layout())
        layout()->activate();
    if (centralWidget()->layout())
        centralWidget()->layout()->activate();
    cmdPreview_Click();
    show();
}

bool frmMdiMain::Form_QueryUnload()
{
    const QMessageBox::StandardButton answer =
        m_services->message(this, QMessageBox::Question, tr(T::QuitCaption), tr(T::QuitQuestion),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

bool frmMdiMain::Form_Unload()
{
    const QRect frame = frameGeometry();
    m_settings->X(Twips::fromPixels(frame.x(), m_twips.x));
    m_settings->Y(Twips::fromPixels(frame.y(), m_twips.y));
    // The size without the window manager's frame, so that a stored rectangle comes back as it
    // was: moving places the frame, resizing sets the size inside it.
    m_settings->Width(Twips::fromPixels(width(), m_twips.x));
    m_settings->Height(Twips::fromPixels(height(), m_twips.y));
    while (!m_settings->SaveFile(settingsPath())) {
        const QMessageBox::StandardButton answer = m_services->message(
            this, QMessageBox::Warning, AppTexts::saveFailedCaption(),
            tr(T::SaveFailedText).arg(settingsPath(), m_settings->errorString()),
            QMessageBox::Retry | QMessageBox::Ignore | QMessageBox::Cancel, QMessageBox::Retry);
        if (answer == QMessageBox::Ignore)
            break;
        if (answer != QMessageBox::Retry)
            return false;
    }
    // No text box keeps the filter once the window goes.
    m_hook->UnHookControl();
    return true;
}

void frmMdiMain::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->ignore();
        return;
    }
    m_closing = true;
    const bool close = Form_QueryUnload() && Form_Unload();
    m_closing = false;
    if (close) {
        m_statusBar->stopClock();
        event->accept();
    } else {
        event->ignore();
    }
}

bool frmMdiMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mdiArea && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmMdiMain::Form_Resize()
{
    if (!isVisible())
        return;
    ensurePreview();
    // A photo of the wrong size was told when it was composed; a resize only redraws.
    const ComposeOutcome outcome =
        m_preview->DrawPreview(m_frame, LayoutMargins::fromSettings(*m_settings), false);
    reportComposition(outcome);
}

frmPreview *frmMdiMain::ensurePreview()
{
    if (!m_preview) {
        m_preview = new frmPreview(m_mdiArea, m_services, m_settings.get(), &m_frame);
        connect(m_preview, &frmPreview::composed, this, &frmMdiMain::reportComposition);
        connect(m_preview, &frmPreview::photoLoaded, this, [this] {
            if (m_settings->fillOnLoad())
                fillFromPhoto(true);
        });
        connect(m_preview, &frmPreview::statusMessage, m_statusBar,
                [this](const QString &text) { m_statusBar->showMessage(text); });
    }
    return m_preview;
}

// ---------------------------------------------------------------------------------------------
// Panel and templates

PanelValues frmMdiMain::panelValues() const
{
    return Picture1->panelValues();
}

void frmMdiMain::setPanelValues(const PanelValues &values)
{
    Picture1->setPanelValues(values);
}

void frmMdiMain::FillMonthList()
{
    Picture1->fillMonthList(m_settings->ThreeCharMonth() != 0);
}

void frmMdiMain::ArrangeDateFields()
{
    Picture1->arrangeDateFields(DateStyle::orderFromCode(m_settings->DateFormat()));
}

bool frmMdiMain::LoadTemplateFile(const QString &path, bool keepDateAndTime)
{
    clsTemplateIO tpl;
    if (!tpl.OpenFile(path))
        return false;
    PanelValues values = panelValues();
    values.applyTemplate(tpl, keepDateAndTime, Picture1->fontNames());
    setPanelValues(values);
    return true;
}

bool frmMdiMain::SaveTemplateFile(const QString &path)
{
    clsTemplateIO tpl;
    panelValues().toTemplate(tpl);
    if (tpl.SaveFile(path, true)) {
        m_statusBar->showMessage(
            tpl.utf8Character().isEmpty()
                ? AppTexts::savedText(path)
                : tr(T::SavedAsUtf8Text).arg(QDir::toNativeSeparators(path), tpl.utf8Character()));
        return true;
    }
    reportSaveFailure(path, tpl.errorString());
    return false;
}

void frmMdiMain::reportSaveFailure(const QString &path, const QString &reason)
{
    m_services->message(this, QMessageBox::Warning, AppTexts::saveFailedCaption(),
                        tr(T::SaveFailedText).arg(QDir::toNativeSeparators(path), reason),
                        QMessageBox::Ok, QMessageBox::Ok);
}

void frmMdiMain::IDMI_LOADTEMPLATE_Click()
{
    const QString chosen =
        m_services->openFileName(this, PlatformServices::FileDialogOptions::forOpen(
                                           tr(T::TemplateFilter), m_settings->TemplatePath()));
    if (chosen.isEmpty())
        return;
    m_templateDialogName = chosen;
    LoadTemplateFile(chosen, false);
    m_settings->TemplatePath(GetFileFolder(chosen));
    cmdPreview_Click();
}

void frmMdiMain::IDMI_SAVETEMPLATE_Click()
{
    const QString chosen = m_services->saveFileName(
        this, PlatformServices::FileDialogOptions::forSave(
                  tr(T::TemplateFilter), m_settings->TemplatePath(), m_templateDialogName));
    if (chosen.isEmpty())
        return;
    m_templateDialogName = chosen;
    // A failed write was told to the user; the folder last used stays as it was.
    if (SaveTemplateFile(chosen))
        m_settings->TemplatePath(GetFileFolder(chosen));
}

void frmMdiMain::IDMI_SETDEFAULT_Click()
{
    // The program's own folder (a per-user configuration folder) is made on its first use; a
    // user's template goes only where a folder is.
    QDir().mkpath(m_programFolder);
    SaveTemplateFile(defaultTemplatePath());
}

// ---------------------------------------------------------------------------------------------
// Commands

void frmMdiMain::readPanel()
{
    PreviewCommand::toFrameDescription(panelValues(), DateStyle::fromSettings(*m_settings),
                                       m_frame);
}

void frmMdiMain::cmdPreview_Click()
{
    preview(true);
}

void frmMdiMain::preview(bool tellPhotoSize)
{
    m_liveTimer->stop();
    readPanel();
    ensurePreview();
    const ComposeOutcome outcome =
        m_preview->DrawPreview(m_frame, LayoutMargins::fromSettings(*m_settings), tellPhotoSize);
    reportComposition(outcome);
    if (tellPhotoSize || outcome.shrinkWouldFit)
        return;
    if (outcome.kind == ComposeOutcome::Kind::LayoutRefused)
        m_statusBar->showMessage(
            tr(T::FrameSizeOutOfRange)
                .arg(panelValues().PhotoSizeText, ComposeOutcome::sizeMessage()));
    else if (outcome.kind == ComposeOutcome::Kind::PhotoSizeRefused)
        m_statusBar->showMessage(tr(T::PhotoSizeOutOfRange)
                                     .arg(m_frame.PhotoWidth)
                                     .arg(m_frame.PhotoHeight)
                                     .arg(ComposeOutcome::sizeMessage()));
}

void frmMdiMain::panelEdited()
{
    if (m_settings->livePreview())
        m_liveTimer->start();
}

bool frmMdiMain::livePreviewPending() const
{
    return m_liveTimer->isActive();
}

void frmMdiMain::flushLivePreview()
{
    if (livePreviewPending())
        preview(false);
}

void frmMdiMain::reportComposition(const ComposeOutcome &outcome)
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
void frmMdiMain::cmdNowDate_Click()
{
    Picture1->setDateAndTime(m_services->now());
}

void frmMdiMain::IDMI_EXIT_Click()
{
    close();
}

// The month list and the date order follow the settings as soon as the dialog closes; the picture
// shows the rest at the next Preview.
void frmMdiMain::IDMI_SETUP_Click()
{
    frmSetup::showModal(this, *m_settings, *m_services);
    const int month = Picture1->monthIndex();
    FillMonthList();
    Picture1->setMonthIndex(month);
    ArrangeDateFields();
}

void frmMdiMain::IDMI_VERSION_Click()
{
    frmAbout::showModal(this, *m_services);
}

void frmMdiMain::IDM_LOADPHOTO_Click()
{
    ensurePreview()->OpenLoadPhotoDialog();
}

// Without its photo the picture takes the photo size of the panel again; everything else stays
// as the last Preview left it.
void frmMdiMain::IDM_REMOVEPHOTO_Click()
{
    PreviewCommand::takePhotoSize(panelValues().PhotoSizeText, m_frame);
    ensurePreview()->CloseLoadPhoto();
}

void frmMdiMain::IDM_FILLFROMPHOTO_Click()
{
    fillFromPhoto(false);
}

void frmMdiMain::fillFromPhoto(bool afterLoad)
{
    const QString photo = m_preview ? m_preview->PhotoPath() : QString();
    if (photo.isEmpty()) {
        m_statusBar->showMessage(tr(T::FillWithoutPhoto));
        return;
    }
    const CaptionFill::Result filled =
        CaptionFill::fillFromPhoto(photo, panelValues(), *m_settings);
    if (!filled.error.isEmpty()) {
        m_statusBar->showMessage(tr(T::FillFailed).arg(filled.error));
        return;
    }
    if (!filled.hasData) {
        if (!afterLoad)
            m_statusBar->showMessage(tr(T::FillWithoutData).arg(QFileInfo(photo).fileName()));
        return;
    }
    setPanelValues(filled.panel);
    preview(!afterLoad);
}

// A copy or save just after typing with the live preview on takes what was typed.
void frmMdiMain::IDM_COPYCLIPBOARD_Click()
{
    flushLivePreview();
    ensurePreview()->CopyClipboard();
}

void frmMdiMain::IDM_SAVEPHOTO_Click()
{
    flushLivePreview();
    ensurePreview()->SavePreview();
}

// The view only: saving, copying and drops keep the canvas at its full size.
void frmMdiMain::IDM_FITWINDOW_Click()
{
    m_settings->setFitWindow(m_commands->fitWindow->isChecked());
    if (m_preview)
        m_preview->fitToCanvas();
}

// A new colour shows at the next Preview.
void frmMdiMain::swatch_Click(ColorSwatch *swatch)
{
    BasCmndlg::chooseSwatchColor(this, swatch, *m_services);
}
