#pragma once

#include <QDialog>
#include <QImage>
#include <QSize>
#include <QStringList>

class AppSettings;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The general settings dialog: date format and separators, English month names, the four text
// margins and whether the main window's rectangle is kept; beside them, in three groups, how
// photos are shown (the FITS stretch, shrinking large photos), the window (live preview, the
// language of the next start) and the fill from the photo's data (the fill at every load, its
// three line patterns, and whether saved PNG and JPEG pictures carry their caption). It edits the
// settings object in memory; the settings file is written by the main window when it closes.
//
// The main window's settings command runs it with
//     if (SettingsDialog::showModal(this, m_settings)) ...
// and then refreshes its month list and date fields.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(AppSettings &settings, QWidget *owner = nullptr);
    ~SettingsDialog() override;

    // Shows the dialog modally, centred on `owner`; true when the user pressed "保存" (the settings
    // object then holds the dialog's values), false when it was closed without storing.
    static bool showModal(QWidget *owner, AppSettings &settings);

    // The margin diagram: a sample text and the corner of the photo, with the four numbered
    // margins, 81 x 102 pixels.
    static QImage marginDiagram();

    // The number a margin box's text begins with, rounded to the nearest integer (halves to
    // even) and kept within 32 bits; 0 when the text does not begin with a number.
    static qint32 leadingNumber(const QString &text);

private:
    void readSettings();
    void writeSettings();
    void buildPhotoGroup();
    void buildViewGroup();
    void buildCaptionGroup();

    AppSettings &m_settings;

    QComboBox *cboDateFormat;
    QComboBox *cboDateDelimiter;
    QCheckBox *chkMonth;
    QLineEdit *txtMargin[4];
    QCheckBox *chkWindowPos;
    QPushButton *cmdSave;
    QPushButton *cmdClose;
    QLabel *picPreview;
    QLabel *lblTag[10];

    QComboBox *cboStretch;
    QCheckBox *chkShrink;
    QSpinBox *txtShrinkWidth;
    QSpinBox *txtShrinkHeight;
    QCheckBox *chkLivePreview;
    QComboBox *cboLanguage;
    QCheckBox *chkFillOnLoad;
    QLineEdit *txtCaption[3];
    QPushButton *cmdCaptionDefaults;
    QCheckBox *chkMetadata;
    QCheckBox *chkSolveField;
    QSpinBox *txtSolveTimeout;
    // What the boxes showed when loaded: a value they could not show is kept unless changed.
    QSize m_shownBox;
    QStringList m_shownPatterns;
};
