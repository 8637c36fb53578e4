#pragma once

#include "compose/DateStyle.h"
#include "compose/PanelValues.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <optional>

class AlignButton;
class NumberInputFilter;
class ColorSwatch;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The editing panel `m_panel` at the left of the main window: every value of the picture to
// compose, each control placed in twips and named as the window's inventory, in its tab order.
// The window reads and fills it through PanelValues and hears through signals of the commands
// that its buttons and swatches start.
class EditingPanel : public QWidget
{
    Q_OBJECT

public:
    // `hook` filters what is typed into the year, the font sizes and the photo size.
    explicit EditingPanel(NumberInputFilter &hook, QWidget *parent = nullptr);

    // The panel as values, and the panel filled from values (lists keep their entries).
    PanelValues panelValues() const;
    void setPanelValues(const PanelValues &values);

    // Every font list holds these names (the screen's fonts), none selected.
    void setFontNames(const QStringList &names);
    const QStringList &fontNames() const { return m_fontNames; }

    // cboMonth refilled in the form given, no entry selected; the selection by index.
    void fillMonthList(bool englishMonths);
    int monthIndex() const;
    void setMonthIndex(int index);

    // The three date fields moved into the order given, tab order included; without an order
    // they stay where they are.
    void arrangeDateFields(std::optional<DateOrder> order);

    // The month, day, year and time fields set to the moment given.
    void setDateAndTime(const QDateTime &now);

signals:
    // A value of the panel changed by the user: typed, chosen, toggled, stepped, or set to now.
    // Filling the panel through the functions above (setPanelValues, the month list, the date
    // order, the font names) does not count.
    void edited();
    void previewClicked();                  // cmdPreview
    void nowDateClicked();                  // cmdNowDate
    void colorClicked(ColorSwatch *swatch); // picFrameColor, picBackColor, picFontColor(i)

public slots:
    // The alignment buttons of the footer items 2 to 4: a click steps to the next alignment,
    // an entry of the drop-down chooses its own. The new alignment shows at the next Preview.
    void stepAlignment(int index);
    void chooseAlignment(int index, int entry);

private:
    template <class W, class... Args> W *add(const QString &name, Args &&...args);
    QLabel *addMarker(int index, int item);
    QToolButton *addToggle(const QString &name, const char *caption, const QString &tip,
                           void (QFont::*style)(bool));
    void applyTabOrder();
    void watchEdits();
    void noteEdit();

    QStringList m_fontNames;
    bool m_monthListEnglish = false; // the form cboMonth holds now
    int m_filling = 0;               // inside a function that fills the panel: no edits

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
