#pragma once

#include "compose/ComposeOutcome.h"
#include "compose/FrameDescription.h"
#include "compose/PanelValues.h"
#include "store/ProgramFolder.h"
#include "store/ScreenTwips.h"
#include "ui/BasHook.h"

#include <QMainWindow>
#include <array>
#include <memory>

class AlignButton;
class ColorSwatch;
class PlatformServices;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;
class clsNoltIO;
class frmPreview;

// The main window: menus, toolbar, the editing panel `Picture1` at the left, the status bar, and
// the client area in which the preview window is the only child. It owns the settings object, the
// frame description and the preview window for the whole run.
class frmMdiMain : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the window and runs Initialize: settings read from "nolt.ini" in programFolder, the
    // border width set to 1, the colour depth shown. Form_Load() then fills and shows it.
    frmMdiMain(PlatformServices *services, const QString &programFolder, QWidget *parent = nullptr);
    // The same in the place ProgramFolder::locate chose: the photo dialogs start in its pictures
    // folder until another is chosen.
    frmMdiMain(PlatformServices *services, const ProgramFolder::Place &place,
               QWidget *parent = nullptr);
    ~frmMdiMain() override;

    // Restores the stored rectangle, fills the panel with the start-up values and today's date,
    // applies "default.kvl" without its date and time, composes once and shows the window.
    void Form_Load();

    // True when the user agrees to end the program.
    bool Form_QueryUnload();
    // Stores the window rectangle and writes "nolt.ini"; false when the user chose to keep the
    // program running after a failed write.
    bool Form_Unload();

    bool LoadTemplateFile(const QString &path, bool keepDateAndTime);
    bool SaveTemplateFile(const QString &path);
    void FillMonthList();
    void ArrangeDateFields();

    // The panel as values, and the panel filled from values (lists keep their entries).
    PanelValues panelValues() const;
    void setPanelValues(const PanelValues &values);

    // The number of colours the screen shows (2^bits x planes), 0 when unknown.
    double GetColorCount() const;
    static QString colorDepthText(double colorCount);

    clsNoltIO &settings() { return *m_settings; }
    const FrameDescription &frame() const { return m_frame; }
    frmPreview *preview() const { return m_preview; }
    QMdiArea *clientArea() const { return m_mdiArea; }
    ScreenTwips twips() const { return m_twips; }
    QString defaultTemplatePath() const;
    QString settingsPath() const;
    // The outcome of the last composition.
    ComposeOutcome lastOutcome() const { return m_lastOutcome; }
    // The input filter of the year and font-size boxes and the photo-size key rule.
    BasHook &hook() { return *m_hook; }

public slots:
    void cmdPreview_Click();
    void cmdNowDate_Click();
    void IDMI_LOADTEMPLATE_Click();
    void IDMI_SAVETEMPLATE_Click();
    void IDMI_SETDEFAULT_Click();
    void IDMI_EXIT_Click();
    void IDMI_SETUP_Click();
    void IDMI_VERSION_Click();
    void IDM_LOADPHOTO_Click();
    void IDM_REMOVEPHOTO_Click();
    void IDM_COPYCLIPBOARD_Click();
    void IDM_SAVEPHOTO_Click();
    void picFrameColor_Click();
    void picBackColor_Click();
    void picFontColor_Click(int index);
    void Toolbar_ButtonClick(QAction *button);
    void tlbFontAlign_ButtonClick(int index);
    void tlbFontAlign_ButtonMenuClick(int index, int entry);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Initialize();
    void Form_Resize();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildPanel();
    void updateClock();
    void applyTabOrder();
    // The single preview window, created on first use.
    frmPreview *ensurePreview();
    void setDateAndTime(const QDateTime &now);
    void reportComposition(const ComposeOutcome &outcome);
    void reportSaveFailure(const QString &path, const QString &reason);

    int px(int twips) const;
    int py(int twips) const;
    void placeTwips(QWidget *widget, int left, int top, int width, int height);

    PlatformServices *m_services;
    QString m_programFolder;
    QString m_pictureFolder;
    ScreenTwips m_twips;
    std::unique_ptr<clsNoltIO> m_settings;
    FrameDescription m_frame;
    frmPreview *m_preview = nullptr;
    BasHook *m_hook = nullptr;
    ComposeOutcome m_lastOutcome;
    QStringList m_fontNames;
    QString m_templateDialogName; // the name last chosen in the template dialogs
    bool m_closing = false;
    bool m_monthListThreeChar = false; // the form cboMonth holds now

    QMdiArea *m_mdiArea = nullptr;
    QToolBar *m_toolbar = nullptr;
    QLabel *m_statusText = nullptr;
    QLabel *m_statusDate = nullptr;
    QLabel *m_statusTime = nullptr;
    QTimer *m_clockTimer = nullptr;

    QWidget *Picture1 = nullptr;
    QLabel *picDemo = nullptr;
    std::array<QLabel *, 15> lblTag{};
    QComboBox *cboPhotoSize = nullptr;
    QComboBox *cboFrameSize = nullptr;
    ColorSwatch *picFrameColor = nullptr;
    ColorSwatch *picBackColor = nullptr;
    QPushButton *cmdPreview = nullptr;
    QLineEdit *txtTargetName = nullptr;
    QComboBox *cboMonth = nullptr;
    QComboBox *cboDay = nullptr;
    QLineEdit *txtYear = nullptr;
    QLineEdit *txtTime = nullptr;
    QPushButton *cmdNowDate = nullptr;
    std::array<QLineEdit *, 3> txtFooter{};
    std::array<QComboBox *, 5> cboFontName{};
    std::array<QLineEdit *, 5> txtFontSize{};
    std::array<ColorSwatch *, 5> picFontColor{};
    std::array<QToolButton *, 5> chkBold{};
    std::array<QToolButton *, 5> chkItalic{};
    std::array<QToolButton *, 5> chkStrikethrough{};
    std::array<QToolButton *, 5> chkUnderline{};
    std::array<AlignButton *, 5> tlbFontAlign{}; // indices 2..4
    // The three date fields in their current tab order.
    std::array<QWidget *, 3> m_dateOrder{};
};
