#pragma once

#include "MainWindowTexts.h"
#include "compose/ComposeOutcome.h"
#include "compose/FrameDescription.h"
#include "compose/PanelValues.h"
#include "store/ProgramFolder.h"
#include "ui/BasHook.h"
#include "ui/Twips.h"

#include <QMainWindow>
#include <memory>

class ColorSwatch;
class EditingPanel;
class MainCommands;
class MainStatusBar;
class PlatformServices;
class QAction;
class QMdiArea;
class QTimer;
class clsNoltIO;
class frmPreview;

// The main window: menus, toolbar, the editing panel `Picture1` at the left, the status bar, and
// the client area in which the preview window is the only child. It owns the settings object, the
// frame description and the preview window for the whole run, and carries out the commands of
// the menus, the toolbar and the panel.
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
    // The month list and the date order as the settings ask.
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
    Twips::PerPixel twips() const { return m_twips; }
    QString defaultTemplatePath() const;
    QString settingsPath() const;
    // The outcome of the last composition.
    ComposeOutcome lastOutcome() const { return m_lastOutcome; }
    // The input filter of the year and font-size boxes and the photo-size key rule.
    BasHook &hook() { return *m_hook; }

    // With "入力するたびにプレビューする" on, an edit of the panel recomposes once the typing
    // pauses (LivePreviewDelayMs). Whether one is waiting, and the one waiting run now.
    bool livePreviewPending() const;
    void flushLivePreview();
    static constexpr int LivePreviewDelayMs = 150;

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
    void IDM_FILLFROMPHOTO_Click();
    void IDM_COPYCLIPBOARD_Click();
    void IDM_SAVEPHOTO_Click();
    void IDM_FITWINDOW_Click();
    // A click on a colour swatch of the panel: the colour chooser for it.
    void swatch_Click(ColorSwatch *swatch);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Initialize();
    void Form_Resize();
    void connectCommands();
    // The single preview window, created on first use.
    frmPreview *ensurePreview();
    // The panel into the frame description, as the Preview command reads it.
    void readPanel();
    // The Preview command. Without tellPhotoSize a size out of range is told in the status bar
    // instead of the message box (the preview that follows the typing, a fill after a load).
    void preview(bool tellPhotoSize);
    void panelEdited();
    // The panel filled from the photo's data, then composed. After a photo load (the setting
    // "写真を読み込んだら情報を入力する") the load has told the size and a photo without data
    // is not remarked on.
    void fillFromPhoto(bool afterLoad);
    void reportComposition(const ComposeOutcome &outcome);
    void reportSaveFailure(const QString &path, const QString &reason);

    PlatformServices *m_services;
    QString m_programFolder;
    QString m_pictureFolder;
    Twips::PerPixel m_twips;
    std::unique_ptr<clsNoltIO> m_settings;
    FrameDescription m_frame;
    frmPreview *m_preview = nullptr;
    BasHook *m_hook = nullptr;
    ComposeOutcome m_lastOutcome;
    QString m_templateDialogName; // the name last chosen in the template dialogs
    bool m_closing = false;

    std::unique_ptr<MainCommands> m_commands;

    EditingPanel *Picture1 = nullptr;
    QMdiArea *m_mdiArea = nullptr;
    MainStatusBar *m_statusBar = nullptr;
    QTimer *m_liveTimer = nullptr;
};
