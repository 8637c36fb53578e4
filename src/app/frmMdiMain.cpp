#include "frmMdiMain.h"

#include "AlignButton.h"
#include "AppIcons.h"
#include "ColorSwatch.h"
#include "MainWindowTexts.h"
#include "PreviewCanvas.h"
#include "frmPreview.h"

#include "compose/FontSetup.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewCommand.h"
#include "io/GetFileFolder.h"
#include "store/ProgramFolder.h"
#include "store/clsNoltIO.h"
#include "store/clsTemplateIO.h"
#include "ui/BasCmndlg.h"
#include "ui/PlatformServices.h"
#include "ui/frmAbout.h"
#include "ui/frmSetup.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace T = MainWindowTexts;

namespace {

// The window's own sizes, in twips.
constexpr int PanelWidth = 4905;
constexpr int InitialClientWidth = 9480;
constexpr int InitialClientHeight = 6510;
constexpr int ToolbarHeight = 420;
constexpr int StatusBarHeight = 315;
constexpr int FontRowTop = 3780;
constexpr int RowStep = 300;
constexpr int FooterTops[] = {2640, 2970, 3300};
constexpr int TagTops[] = {1972, 2310, 2632, 2962, 3292};
constexpr int AlignTops[] = {4335, 4635, 4935};
constexpr int DateRowTop = 2310;  // cboMonth and cboDay
constexpr int DateTextTop = 2325; // txtYear and txtTime

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

frmMdiMain::frmMdiMain(PlatformServices *services, const QString &programFolder, QWidget *parent)
    : frmMdiMain(services, ProgramFolder::Place{programFolder, programFolder}, parent)
{}

frmMdiMain::frmMdiMain(PlatformServices *services, const ProgramFolder::Place &place,
                       QWidget *parent)
    : QMainWindow(parent), m_services(services), m_programFolder(place.folder),
      m_pictureFolder(place.pictures), m_twips(ScreenTwips::primary())
{
    setObjectName(QStringLiteral("frmMdiMain"));
    setWindowTitle(QString::fromLatin1(T::WindowCaption));
    setWindowIcon(AppIcons::applicationIcon());
    setFont(QFont(QString::fromUtf8(T::PanelFontName), 9));

    m_hook = new BasHook(*m_services, this);
    buildMenus();
    buildToolbar();
    buildStatusBar();

    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    buildPanel();
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
    resize(px(PanelWidth) + px(InitialClientWidth) + 4,
           menuBar()->sizeHint().height() + py(ToolbarHeight) + py(InitialClientHeight) +
               py(StatusBarHeight));

    Form_Initialize();
}

frmMdiMain::~frmMdiMain() = default; // Terminate: the settings object goes with the window

int frmMdiMain::px(int twips) const
{
    return int(std::lround(twips / m_twips.x));
}

int frmMdiMain::py(int twips) const
{
    return int(std::lround(twips / m_twips.y));
}

void frmMdiMain::placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(px(left), py(top), px(width), py(height));
}

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

void frmMdiMain::buildMenus()
{
    auto addMenu = [this](const T::MenuEntry &menuSpec, auto &entries) {
        QMenu *menu = menuBar()->addMenu(tr(menuSpec.caption));
        menu->setObjectName(QString::fromLatin1(menuSpec.name));
        for (const T::MenuEntry &entry : entries) {
            QAction *action = qstrcmp(entry.caption, "-") == 0 ? menu->addSeparator()
                                                               : menu->addAction(tr(entry.caption));
            action->setObjectName(QString::fromLatin1(entry.name));
        }
    };
    addMenu(T::FileMenu, T::FileEntries);
    addMenu(T::EditMenu, T::EditEntries);
    addMenu(T::PhotoMenu, T::PhotoEntries);
    addMenu(T::HelpMenu, T::HelpEntries);

    auto connectEntry = [this](const char *name, void (frmMdiMain::*slot)()) {
        QAction *action = menuBar()->findChild<QAction *>(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
    };
    connectEntry("IDMI_LOADTEMPLATE", &frmMdiMain::IDMI_LOADTEMPLATE_Click);
    connectEntry("IDMI_SAVETEMPLATE", &frmMdiMain::IDMI_SAVETEMPLATE_Click);
    connectEntry("IDMI_EXIT", &frmMdiMain::IDMI_EXIT_Click);
    connectEntry("IDMI_SETDEFAULT", &frmMdiMain::IDMI_SETDEFAULT_Click);
    connectEntry("IDMI_SETUP", &frmMdiMain::IDMI_SETUP_Click);
    connectEntry("IDMI_VERSION", &frmMdiMain::IDMI_VERSION_Click);
    connectEntry("IDM_LOADPHOTO", &frmMdiMain::IDM_LOADPHOTO_Click);
    connectEntry("IDM_REMOVEPHOTO", &frmMdiMain::IDM_REMOVEPHOTO_Click);
    connectEntry("IDM_COPYCLIPBOARD", &frmMdiMain::IDM_COPYCLIPBOARD_Click);
    connectEntry("IDM_SAVEPHOTO", &frmMdiMain::IDM_SAVEPHOTO_Click);
}

void frmMdiMain::buildToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("Toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    auto addButton = [this](const char *key, const char *tip) {
        QAction *action = m_toolbar->addAction(AppIcons::toolbarIcon(key), tr(tip));
        action->setObjectName(QString::fromLatin1(key));
        action->setToolTip(tr(tip));
    };
    addButton(T::TbOpenTmp, T::TipOpenTmp);
    addButton(T::TbSaveTmp, T::TipSaveTmp);
    m_toolbar->addSeparator();
    addButton(T::TbSetup, T::TipSetup);
    m_toolbar->addSeparator();
    addButton(T::TbExit, T::TipExit);
    auto *gap = new QWidget(m_toolbar);
    gap->setObjectName(QStringLiteral("ToolbarPlaceholder"));
    gap->setFixedWidth(16);
    m_toolbar->addWidget(gap);
    addButton(T::TbOpenPhoto, T::TipOpenPhoto);
    addButton(T::TbRemovePhoto, T::TipRemovePhoto);
    m_toolbar->addSeparator();
    addButton(T::TbCopyClipboard, T::TipCopyClipboard);
    addButton(T::TbSavePhoto, T::TipSavePhoto);
    m_toolbar->setFixedHeight(py(ToolbarHeight));
    connect(m_toolbar, &QToolBar::actionTriggered, this, &frmMdiMain::Toolbar_ButtonClick);
}

void frmMdiMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    m_statusText = new QLabel(bar);
    m_statusText->setObjectName(QStringLiteral("StatusBarPanel1"));
    m_statusDate = new QLabel(bar);
    m_statusDate->setObjectName(QStringLiteral("StatusBarPanel2"));
    m_statusDate->setAlignment(Qt::AlignCenter);
    m_statusTime = new QLabel(bar);
    m_statusTime->setObjectName(QStringLiteral("StatusBarPanel3"));
    m_statusTime->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_statusText, 1);
    bar->addPermanentWidget(m_statusDate);
    bar->addPermanentWidget(m_statusTime);
    m_statusDate->setMinimumWidth(px(1300));
    m_statusTime->setMinimumWidth(px(900));
    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &frmMdiMain::updateClock);
    m_clockTimer->start();
    updateClock();
}

void frmMdiMain::updateClock()
{
    const QDateTime now = m_services->now();
    const QLocale locale;
    m_statusDate->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_statusTime->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

void frmMdiMain::buildPanel()
{
    Picture1 = new QWidget;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedWidth(px(PanelWidth));
    // Tall enough for the last alignment toolbar, so that no control is ever cut off.
    Picture1->setMinimumHeight(py(AlignTops[2] + 390 + 60));
    const QFont panelFont(QString::fromUtf8(T::PanelFontName), 9);
    Picture1->setFont(panelFont);

    picDemo = new QLabel(Picture1);
    picDemo->setObjectName(QStringLiteral("picDemo"));
    picDemo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picDemo->setLineWidth(1);
    picDemo->setAlignment(Qt::AlignCenter);
    picDemo->setPixmap(QPixmap::fromImage(AppIcons::layoutIllustration()));
    placeTwips(picDemo, 60, 60, 1710, 1725);

    auto label = [this](int index, const char *caption, int left, int top, int width, int height) {
        auto *l = new QLabel(Picture1);
        l->setObjectName(QStringLiteral("lblTag(%1)").arg(index));
        if (caption)
            l->setText(tr(caption));
        placeTwips(l, left, top, width, height);
        lblTag[index] = l;
        return l;
    };
    auto swatch = [this](const QString &name, int left, int top, int width, int height) {
        auto *s = new ColorSwatch(Picture1);
        s->setObjectName(name);
        placeTwips(s, left, top, width, height);
        return s;
    };

    label(10, T::FrameSizeLabel, 1890, 165, 975, 225);
    cboPhotoSize = new QComboBox(Picture1);
    cboPhotoSize->setObjectName(QStringLiteral("cboPhotoSize"));
    cboPhotoSize->setEditable(true);
    cboPhotoSize->setInsertPolicy(QComboBox::NoInsert);
    for (const char *size : T::PhotoSizes)
        cboPhotoSize->addItem(QString::fromLatin1(size));
    placeTwips(cboPhotoSize, 2910, 120, 1515, 300);
    m_hook->guardPhotoSize(cboPhotoSize);
    lblTag[10]->setBuddy(cboPhotoSize);

    label(13, T::BorderWidthLabel, 1890, 495, 975, 225);
    cboFrameSize = new QComboBox(Picture1);
    cboFrameSize->setObjectName(QStringLiteral("cboFrameSize"));
    for (int i = 0; i < PanelValues::FrameSizeCount; ++i)
        cboFrameSize->addItem(PanelValues::frameSizeListText(i));
    placeTwips(cboFrameSize, 2910, 450, 855, 300);
    lblTag[13]->setBuddy(cboFrameSize);

    label(14, T::BorderColorLabel, 1890, 795, 975, 225);
    picFrameColor = swatch(QStringLiteral("picFrameColor"), 2910, 780, 555, 255);
    label(11, T::BackColorLabel, 3540, 795, 675, 225);
    picBackColor = swatch(QStringLiteral("picBackColor"), 4260, 780, 555, 255);
    connect(picFrameColor, &ColorSwatch::clicked, this, &frmMdiMain::picFrameColor_Click);
    connect(picBackColor, &ColorSwatch::clicked, this, &frmMdiMain::picBackColor_Click);

    cmdPreview =
        new QPushButton(AppIcons::previewIcon(), QString::fromLatin1(T::PreviewCaption), Picture1);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    cmdPreview->setIconSize(QSize(24, 24));
    placeTwips(cmdPreview, 1920, 1170, 2325, 600);
    connect(cmdPreview, &QPushButton::clicked, this, &frmMdiMain::cmdPreview_Click);

    for (int i = 0; i < 5; ++i) {
        QLabel *textMarker = label(i, nullptr, 60, TagTops[i], 135, 300);
        QLabel *fontMarker = label(5 + i, nullptr, 60, FontRowTop + RowStep * i, 135, 300);
        for (QLabel *marker : {textMarker, fontMarker}) {
            marker->setAutoFillBackground(true);
            QPalette palette = marker->palette();
            palette.setColor(QPalette::Window, AppIcons::itemColor(i));
            marker->setPalette(palette);
        }
    }

    auto lineEdit = [this](const QString &name, int left, int top, int width, int height) {
        auto *edit = new QLineEdit(Picture1);
        edit->setObjectName(name);
        placeTwips(edit, left, top, width, height);
        return edit;
    };
    txtTargetName = lineEdit(QStringLiteral("txtTargetName"), 210, 1980, 4395, 285);
    cboMonth = new QComboBox(Picture1);
    cboMonth->setObjectName(QStringLiteral("cboMonth"));
    placeTwips(cboMonth, 210, DateRowTop, 825, 300);
    cboDay = new QComboBox(Picture1);
    cboDay->setObjectName(QStringLiteral("cboDay"));
    for (int i = 0; i < PanelValues::DayCount; ++i)
        cboDay->addItem(PanelValues::dayListText(i));
    placeTwips(cboDay, 1050, DateRowTop, 645, 300);
    txtYear = lineEdit(QStringLiteral("txtYear"), 1710, DateTextTop, 615, 285);
    m_hook->guard(txtYear, BasHook::AllowDigits);
    txtTime = lineEdit(QStringLiteral("txtTime"), 2430, DateTextTop, 1005, 285);
    txtTime->setText(QString::fromLatin1(T::InitialTime));
    cmdNowDate = new QPushButton(tr(T::NowDateCaption), Picture1);
    cmdNowDate->setObjectName(QStringLiteral("cmdNowDate"));
    cmdNowDate->setToolTip(tr(T::NowDateTip));
    placeTwips(cmdNowDate, 3480, DateTextTop, 1125, 285);
    connect(cmdNowDate, &QPushButton::clicked, this, &frmMdiMain::cmdNowDate_Click);
    m_dateOrder = {cboMonth, cboDay, txtYear};

    for (int k = 0; k < 3; ++k)
        txtFooter[k] =
            lineEdit(QStringLiteral("txtFooter(%1)").arg(k), 210, FooterTops[k], 4395, 285);

    auto toggle = [this](const QString &name, const char *caption, const char *tip, int left,
                         int top, void (QFont::*style)(bool)) {
        auto *button = new QToolButton(Picture1);
        button->setObjectName(name);
        button->setCheckable(true);
        button->setText(QString::fromLatin1(caption));
        button->setToolTip(tr(tip));
        QFont font(QString::fromUtf8(T::PanelFontName), 9);
        font.setBold(true);
        if (style)
            (font.*style)(true);
        button->setFont(font);
        button->setFocusPolicy(Qt::StrongFocus);
        placeTwips(button, left, top, 285, 300);
        return button;
    };
    for (int i = 0; i < 5; ++i) {
        const int top = FontRowTop + RowStep * i;
        cboFontName[i] = new QComboBox(Picture1);
        cboFontName[i]->setObjectName(QStringLiteral("cboFontName(%1)").arg(i));
        cboFontName[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        placeTwips(cboFontName[i], 210, top, 1845, 300);
        txtFontSize[i] = lineEdit(QStringLiteral("txtFontSize(%1)").arg(i), 2070, top, 435, 300);
        m_hook->guard(txtFontSize[i], BasHook::AllowDigits);
        picFontColor[i] = swatch(QStringLiteral("picFontColor(%1)").arg(i), 2520, top, 435, 300);
        connect(picFontColor[i], &ColorSwatch::clicked, this, [this, i] { picFontColor_Click(i); });
        chkBold[i] =
            toggle(QStringLiteral("chkBold(%1)").arg(i), "B", T::BoldTip, 3000, top, nullptr);
        chkItalic[i] = toggle(QStringLiteral("chkItalic(%1)").arg(i), "I", T::ItalicTip, 3300, top,
                              &QFont::setItalic);
        chkStrikethrough[i] = toggle(QStringLiteral("chkStrikethrough(%1)").arg(i), "S",
                                     T::StrikethroughTip, 3600, top, &QFont::setStrikeOut);
        chkUnderline[i] = toggle(QStringLiteral("chkUnderline(%1)").arg(i), "U", T::UnderlineTip,
                                 3900, top, &QFont::setUnderline);
    }
    for (int i = 2; i <= 4; ++i) {
        auto *button = new AlignButton(i != 2, Picture1);
        button->setObjectName(QStringLiteral("tlbFontAlign(%1)").arg(i));
        placeTwips(button, 4230, AlignTops[i - 2], 555, 390);
        connect(button, &QToolButton::clicked, this, [this, i] { tlbFontAlign_ButtonClick(i); });
        connect(button, &AlignButton::entryChosen, this,
                [this, i](int n) { tlbFontAlign_ButtonMenuClick(i, n); });
        tlbFontAlign[i] = button;
    }
    applyTabOrder();
}

void frmMdiMain::applyTabOrder()
{
    QList<QWidget *> chain = {cboPhotoSize, cboFrameSize, picFrameColor,
                              picBackColor, cmdPreview,   txtTargetName};
    chain.append(m_dateOrder[0]);
    chain.append(m_dateOrder[1]);
    chain.append(m_dateOrder[2]);
    chain << txtTime << cmdNowDate << txtFooter[0] << txtFooter[1] << txtFooter[2];
    for (int i = 0; i < 5; ++i) {
        chain << cboFontName[i] << txtFontSize[i] << picFontColor[i] << chkBold[i] << chkItalic[i]
              << chkStrikethrough[i] << chkUnderline[i];
        if (tlbFontAlign[i])
            chain << tlbFontAlign[i];
    }
    for (qsizetype k = 0; k + 1 < chain.size(); ++k)
        QWidget::setTabOrder(chain[k], chain[k + 1]);
}

// ---------------------------------------------------------------------------------------------
// Lifecycle

void frmMdiMain::Form_Initialize()
{
    m_settings =
        std::make_unique<clsNoltIO>(m_programFolder, m_pictureFolder, m_twips.x, m_twips.y);
    m_settings->OpenFile(settingsPath());
    m_frame.BorderWidth = 1;
    m_statusText->setText(colorDepthText(GetColorCount()));
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
        return QString::fromLatin1(T::TrueColor32);
    if (colorCount == std::ldexp(1.0, 24))
        return QString::fromLatin1(T::TrueColor24);
    if (colorCount == std::ldexp(1.0, 16))
        return QString::fromLatin1(T::HighColor16);
    return QString::number(colorCount, 'f', 0) + tr(T::ColorsSuffix);
}

void frmMdiMain::Form_Load()
{
    if (m_settings->SavePosition() != 0) {
        move(int(std::lround(m_settings->X() / m_twips.x)),
             int(std::lround(m_settings->Y() / m_twips.y)));
        resize(int(std::lround(m_settings->Width() / m_twips.x)),
               int(std::lround(m_settings->Height() / m_twips.y)));
    }
    m_fontNames = FontSetup::panelFontNames();
    for (QComboBox *list : cboFontName) {
        list->clear();
        list->addItems(m_fontNames);
        list->setCurrentIndex(-1);
    }
    FillMonthList();
    ArrangeDateFields();
    setPanelValues(PanelValues::startupDefaults(m_services->now(), m_fontNames,
                                                m_settings->ThreeCharMonth() != 0));
    LoadTemplateFile(defaultTemplatePath(), true);

    // The client area takes its size before the first picture is fitted into it.
    if (layout())
        layout()->activate();
    if (centralWidget()->layout())
        centralWidget()->layout()->activate();
    cmdPreview->click();
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
    m_settings->X(qint32(std::lround(frame.x() * m_twips.x)));
    m_settings->Y(qint32(std::lround(frame.y() * m_twips.y)));
    // The size without the window manager's frame, so that a stored rectangle comes back as it
    // was: moving places the frame, resizing sets the size inside it.
    m_settings->Width(qint32(std::lround(width() * m_twips.x)));
    m_settings->Height(qint32(std::lround(height() * m_twips.y)));
    while (!m_settings->SaveFile(settingsPath())) {
        const QMessageBox::StandardButton answer = m_services->message(
            this, QMessageBox::Warning, tr(T::SaveFailedCaption),
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
        m_clockTimer->stop();
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
    }
    return m_preview;
}

// ---------------------------------------------------------------------------------------------
// Panel <-> values

PanelValues frmMdiMain::panelValues() const
{
    PanelValues v;
    v.PhotoSizeText = cboPhotoSize->currentText();
    v.FrameColor = picFrameColor->BackColor();
    v.BackColor = picBackColor->BackColor();
    v.FrameSizeIndex = cboFrameSize->currentIndex();
    v.TargetName = txtTargetName->text();
    v.MonthIndex = cboMonth->currentIndex();
    v.ThreeCharMonth = m_monthListThreeChar;
    v.DayIndex = cboDay->currentIndex();
    v.Year = txtYear->text();
    v.Time = txtTime->text();
    for (int k = 0; k < PanelValues::FooterCount; ++k) {
        v.Footer[k] = txtFooter[k]->text();
        v.AlignTag[k] = tlbFontAlign[k + 2]->Tag();
    }
    for (int i = 0; i < PanelValues::ItemCount; ++i) {
        PanelValues::FontRow &row = v.Fonts[i];
        row.FontName =
            cboFontName[i]->currentIndex() >= 0 ? cboFontName[i]->currentText() : QString();
        row.FontSize = txtFontSize[i]->text();
        row.FontColor = picFontColor[i]->BackColor();
        row.Bold = chkBold[i]->isChecked() ? 1 : 0;
        row.Italic = chkItalic[i]->isChecked() ? 1 : 0;
        row.Strikethrough = chkStrikethrough[i]->isChecked() ? 1 : 0;
        row.Underline = chkUnderline[i]->isChecked() ? 1 : 0;
    }
    return v;
}

void frmMdiMain::setPanelValues(const PanelValues &v)
{
    auto select = [](QComboBox *list, int index) {
        if (index >= -1 && index < list->count())
            list->setCurrentIndex(index);
    };
    cboPhotoSize->setEditText(v.PhotoSizeText);
    picFrameColor->BackColor(v.FrameColor);
    picBackColor->BackColor(v.BackColor);
    select(cboFrameSize, v.FrameSizeIndex);
    txtTargetName->setText(v.TargetName);
    if (v.ThreeCharMonth != m_monthListThreeChar) {
        cboMonth->clear();
        cboMonth->addItems(PanelValues::monthListTexts(v.ThreeCharMonth));
        m_monthListThreeChar = v.ThreeCharMonth;
    }
    select(cboMonth, v.MonthIndex);
    select(cboDay, v.DayIndex);
    txtYear->setText(v.Year);
    txtTime->setText(v.Time);
    for (int k = 0; k < PanelValues::FooterCount; ++k) {
        txtFooter[k]->setText(v.Footer[k]);
        tlbFontAlign[k + 2]->setAlignmentTag(v.AlignTag[k]);
    }
    // A text longer than its box shows its beginning.
    for (QLineEdit *edit : {txtTargetName, txtFooter[0], txtFooter[1], txtFooter[2]})
        edit->setCursorPosition(0);
    for (int i = 0; i < PanelValues::ItemCount; ++i) {
        const PanelValues::FontRow &row = v.Fonts[i];
        int index = row.FontName.isEmpty() ? -1 : cboFontName[i]->findText(row.FontName);
        if (index < 0 && !row.FontName.isEmpty())
            index = cboFontName[i]->findText(row.FontName, Qt::MatchFixedString);
        cboFontName[i]->setCurrentIndex(index);
        txtFontSize[i]->setText(row.FontSize);
        picFontColor[i]->BackColor(row.FontColor);
        chkBold[i]->setChecked(row.Bold != 0);
        chkItalic[i]->setChecked(row.Italic != 0);
        chkStrikethrough[i]->setChecked(row.Strikethrough != 0);
        chkUnderline[i]->setChecked(row.Underline != 0);
    }
}

void frmMdiMain::FillMonthList()
{
    m_monthListThreeChar = m_settings->ThreeCharMonth() != 0;
    cboMonth->clear();
    cboMonth->addItems(PanelValues::monthListTexts(m_monthListThreeChar));
    cboMonth->setCurrentIndex(-1);
}

void frmMdiMain::ArrangeDateFields()
{
    auto moveTo = [this](QWidget *field, int left) { field->move(px(left), field->y()); };
    switch (m_settings->DateFormat()) {
    case 0:
        moveTo(txtYear, 210);
        moveTo(cboMonth, 855);
        moveTo(cboDay, 1710);
        m_dateOrder = {txtYear, cboMonth, cboDay};
        break;
    case 1:
        moveTo(txtYear, 1740);
        moveTo(cboMonth, 210);
        moveTo(cboDay, 1065);
        m_dateOrder = {cboMonth, cboDay, txtYear};
        break;
    default:
        return;
    }
    applyTabOrder();
}

// ---------------------------------------------------------------------------------------------
// Templates

bool frmMdiMain::LoadTemplateFile(const QString &path, bool keepDateAndTime)
{
    clsTemplateIO tpl;
    if (!tpl.OpenFile(path))
        return false;
    PanelValues values = panelValues();
    values.applyTemplate(tpl, keepDateAndTime, m_fontNames);
    setPanelValues(values);
    return true;
}

bool frmMdiMain::SaveTemplateFile(const QString &path)
{
    clsTemplateIO tpl;
    panelValues().toTemplate(tpl);
    if (tpl.SaveFile(path, true))
        return true;
    reportSaveFailure(path, tpl.errorString());
    return false;
}

void frmMdiMain::reportSaveFailure(const QString &path, const QString &reason)
{
    m_services->message(this, QMessageBox::Warning, tr(T::SaveFailedCaption),
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
    cmdPreview->click();
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
    SaveTemplateFile(defaultTemplatePath());
}

// ---------------------------------------------------------------------------------------------
// Commands

void frmMdiMain::cmdPreview_Click()
{
    PreviewCommand::toFrameDescription(panelValues(), m_settings->DateFormat(),
                                       m_settings->DelimiterFormat(), m_frame);
    ensurePreview();
    reportComposition(
        m_preview->DrawPreview(m_frame, LayoutMargins::fromSettings(*m_settings), true));
}

void frmMdiMain::reportComposition(const ComposeOutcome &outcome)
{
    m_lastOutcome = outcome;
    if (outcome.kind == ComposeOutcome::Kind::Failed ||
        outcome.kind == ComposeOutcome::Kind::PhotoUnreadable)
        statusBar()->showMessage(tr(T::ComposeFailedText).arg(outcome.message));
    else
        statusBar()->clearMessage();
}

void frmMdiMain::setDateAndTime(const QDateTime &now)
{
    cboMonth->setCurrentIndex(now.date().month() - 1);
    cboDay->setCurrentIndex(now.date().day() - 1);
    txtYear->setText(QStringLiteral("%1").arg(now.date().year(), 4, 10, QLatin1Char('0')));
    txtTime->setText(twoDigits(now.time().hour()) + u':' + twoDigits(now.time().minute()) +
                     QString::fromLatin1(T::TimeSuffix));
}

void frmMdiMain::cmdNowDate_Click()
{
    setDateAndTime(m_services->now());
}

void frmMdiMain::IDMI_EXIT_Click()
{
    close();
}

void frmMdiMain::Toolbar_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->objectName();
    if (key == QLatin1String(T::TbOpenTmp))
        IDMI_LOADTEMPLATE_Click();
    else if (key == QLatin1String(T::TbSaveTmp))
        IDMI_SAVETEMPLATE_Click();
    else if (key == QLatin1String(T::TbExit))
        IDMI_EXIT_Click();
    else if (key == QLatin1String(T::TbSetup))
        IDMI_SETUP_Click();
    else if (key == QLatin1String(T::TbOpenPhoto))
        IDM_LOADPHOTO_Click();
    else if (key == QLatin1String(T::TbRemovePhoto))
        IDM_REMOVEPHOTO_Click();
    else if (key == QLatin1String(T::TbCopyClipboard))
        IDM_COPYCLIPBOARD_Click();
    else if (key == QLatin1String(T::TbSavePhoto))
        IDM_SAVEPHOTO_Click();
}

// The month list and the date order follow the settings as soon as the dialog closes; the picture
// shows the rest at the next Preview.
void frmMdiMain::IDMI_SETUP_Click()
{
    frmSetup::showModal(this, *m_settings, *m_services);
    const int month = cboMonth->currentIndex();
    FillMonthList();
    cboMonth->setCurrentIndex(month);
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

// Without its photo the picture takes the photo size of the panel again.
void frmMdiMain::IDM_REMOVEPHOTO_Click()
{
    PreviewCommand::toFrameDescription(panelValues(), m_settings->DateFormat(),
                                       m_settings->DelimiterFormat(), m_frame);
    ensurePreview()->CloseLoadPhoto();
}

void frmMdiMain::IDM_COPYCLIPBOARD_Click()
{
    ensurePreview()->CopyClipboard();
}

void frmMdiMain::IDM_SAVEPHOTO_Click()
{
    ensurePreview()->SavePreview();
}

// A new colour shows at the next Preview.
void frmMdiMain::picFrameColor_Click()
{
    BasCmndlg::chooseSwatchColor(this, picFrameColor, *m_services);
}

void frmMdiMain::picBackColor_Click()
{
    BasCmndlg::chooseSwatchColor(this, picBackColor, *m_services);
}

void frmMdiMain::picFontColor_Click(int index)
{
    if (index >= 0 && index < int(picFontColor.size()))
        BasCmndlg::chooseSwatchColor(this, picFontColor[index], *m_services);
}

// The new alignment shows at the next Preview.
void frmMdiMain::tlbFontAlign_ButtonClick(int index)
{
    if (index >= 2 && index <= 4)
        tlbFontAlign[index]->stepToNext();
}

void frmMdiMain::tlbFontAlign_ButtonMenuClick(int index, int entry)
{
    if (index >= 2 && index <= 4)
        tlbFontAlign[index]->chooseEntry(entry);
}
