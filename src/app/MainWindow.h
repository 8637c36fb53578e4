#pragma once

#include "MainWindowTexts.h"
#include "compose/CaptionFill.h"
#include "compose/ComposeOutcome.h"
#include "compose/FrameDescription.h"
#include "compose/PanelValues.h"
#include "sky/FieldSolver.h"
#include "store/ProgramFolder.h"
#include "ui/Twips.h"

#include <QMainWindow>
#include <memory>
#include <optional>

class ColorSwatch;
class EditingPanel;
class MainCommands;
class MainStatusBar;
class PlatformServices;
class QAction;
class QMdiArea;
class QShortcut;
class QTimer;
class SolveJob;
class AppSettings;
class PreviewWindow;
class SubframeReader;
class SubframeSummary;

// The main window: menus, toolbar, the editing panel `m_panel` at the left, the status bar, and
// the client area in which the preview window is the only child. It owns the settings object, the
// frame description and the preview window for the whole run, and carries out the commands of
// the menus, the toolbar and the panel.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the window and runs Initialize: settings read from "nolt.ini" in programFolder, the
    // border width set to 1, the colour depth shown. start() then fills and shows it.
    MainWindow(PlatformServices *services, const QString &programFolder, QWidget *parent = nullptr);
    // The same in the place ProgramFolder::locate chose: the photo dialogs start in its pictures
    // folder until another is chosen.
    MainWindow(PlatformServices *services, const ProgramFolder::Place &place,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Restores the stored rectangle, fills the panel with the start-up values and today's date,
    // applies "default.kvl" without its date and time, composes once and shows the window.
    void start();

    // True when the user agrees to end the program.
    bool confirmQuit();
    // Stores the window rectangle and writes "nolt.ini"; false when the user chose to keep the
    // program running after a failed write.
    bool saveState();

    bool loadTemplateFile(const QString &path, bool keepDateAndTime);
    bool saveTemplateFile(const QString &path);
    // The month list and the date order as the settings ask.
    void fillMonthList();
    void arrangeDateFields();

    // The panel as values, and the panel filled from values (lists keep their entries).
    PanelValues panelValues() const;
    void setPanelValues(const PanelValues &values);

    // The number of colours the screen shows (2^bits x planes), 0 when unknown.
    double screenColorCount() const;
    static QString colorDepthText(double colorCount);

    AppSettings &settings() { return *m_settings; }
    const FrameDescription &frame() const { return m_frame; }
    PreviewWindow *previewWindow() const { return m_preview; }
    QMdiArea *clientArea() const { return m_mdiArea; }
    Twips::PerPixel twips() const { return m_twips; }
    QString defaultTemplatePath() const;
    QString settingsPath() const;
    // The outcome of the last composition.
    ComposeOutcome lastOutcome() const { return m_lastOutcome; }

    // With "入力するたびにプレビューする" on, an edit of the panel recomposes once the typing
    // pauses (LivePreviewDelayMs). Whether one is waiting, and the one waiting run now.
    bool livePreviewPending() const;
    void flushLivePreview();
    static constexpr int LivePreviewDelayMs = 150;

    // The solve of the photo's field that the fill runs with "写野を解析する" on: whether one
    // runs, and its cancel (Esc, or the fill command again).
    bool isSolving() const;
    void cancelSolve();
    // The WCS of the photo the picture includes, in the photo's own pixels, from its last solve;
    // none when it is not solved (photoSolutionChanged tells each change: a solve, a photo
    // loaded or removed).
    std::optional<Wcs> photoSolution() const;
    // The solver's programs and index files (tests point them elsewhere).
    void setSolverOptions(const PlateSolver::Options &options) { m_solverOptions = options; }
    // Where solves are cached; empty for the user's cache folder.
    void setSolveCacheFolder(const QString &folder) { m_solveCacheFolder = folder; }

public slots:
    void preview();
    void setDateToNow();
    void loadTemplate();
    void saveTemplate();
    void saveStartupTemplate();
    void quit();
    void showSettings();
    void showAbout();
    void openPhoto();
    void removePhoto();
    void fillFromPhoto();
    // The sub-frame folder of the panel (kept with the template): chosen, then filled from at
    // once; or forgotten.
    void chooseSubframes();
    void forgetSubframes();
    void copyPicture();
    void savePicture();
    void toggleFitWindow();
    // A click on a colour swatch of the panel: the colour chooser for it.
    void chooseColor(ColorSwatch *swatch);
    // The template's sky overlay, in its dialog; the picture follows at once.
    void editSkyOverlay();

signals:
    void photoSolutionChanged(const std::optional<Wcs> &wcs);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readSettings();
    void clientAreaResized();
    void connectCommands();
    // The single preview window, created on first use.
    PreviewWindow *ensurePreview();
    // The panel into the frame description, as the Preview command reads it.
    void readPanel();
    // The Preview command. Without tellPhotoSize a size out of range is told in the status bar
    // instead of the message box (the preview that follows the typing, a fill after a load).
    void runPreview(bool tellPhotoSize);
    void panelEdited();
    // The panel filled from the photo's data, then composed; the fields the last fill wrote and
    // the user left alone take the new photo's values or are emptied. After a photo load (the
    // setting "写真を読み込んだら情報を入力する") the load has told the size and a photo without
    // data is not remarked on.
    void fillPanelFromPhoto(bool afterLoad);
    // The fill itself, with the sub-frames' summary when a folder is set.
    void fillPanel(bool afterLoad, const SubframeSummary *subframes);
    // The fill after the solve (or without one): the sub-frames, then the panel.
    void continueFill(bool afterLoad);
    void startSolve(const QString &photo, bool afterLoad);
    // Stops a solve under way and forgets it: its result and its fill are dropped.
    void dropSolve();
    void solveFinished(const SolveResult &result);
    void reportComposition(const ComposeOutcome &outcome);
    void reportSaveFailure(const QString &path, const QString &reason);

    PlatformServices *m_services;
    QString m_programFolder;
    QString m_pictureFolder;
    Twips::PerPixel m_twips;
    std::unique_ptr<AppSettings> m_settings;
    FrameDescription m_frame;
    PreviewWindow *m_preview = nullptr;
    ComposeOutcome m_lastOutcome;
    QString m_templateDialogName;     // the name last chosen in the template dialogs
    CaptionFill::LastFill m_lastFill; // none after a template load
    bool m_closing = false;

    std::unique_ptr<MainCommands> m_commands;

    EditingPanel *m_panel = nullptr;
    QMdiArea *m_mdiArea = nullptr;
    MainStatusBar *m_statusBar = nullptr;
    QTimer *m_liveTimer = nullptr;
    QString m_subframeFolder; // the panel's, though no control shows it
    TemplateSky m_sky;        // the template's overlay, edited in its dialog
    SubframeReader *m_subframes = nullptr;
    bool m_fillAfterLoad = false; // the fill waiting for the sub-frames came after a load
    SolveJob *m_solveJob = nullptr;
    QShortcut *m_cancelSolve = nullptr;
    QString m_solvePhoto; // the photo the solve under way is of
    PlateSolver::Options m_solverOptions;
    QString m_solveCacheFolder;
    CaptionFill::Values m_fieldValues; // the solved field's facts for the fill under way
    QString m_solveNotice;             // told once the fill is done
};
