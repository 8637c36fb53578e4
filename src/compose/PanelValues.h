#pragma once

#include "TextItem.h"
#include "store/TemplateFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

// The state of the editing panel as plain values: what the Preview command reads and what
// templates are poured into and taken from. Colours are 0x00BBGGRR; list selections are entry
// indices with -1 for none.
struct PanelValues
{
    static constexpr int ItemCount = 5;
    static constexpr int FooterCount = 3;     // txtFooter(0..2): items 2, 3, 4
    static constexpr int FrameSizeCount = 10; // cboFrameSize: "01" .. "10"
    static constexpr int MonthCount = 12;
    static constexpr int DayCount = 31; // cboDay: "01" .. "31"

    // One font row: cboFontName(i), txtFontSize(i), picFontColor(i) and the four toggles.
    struct FontRow
    {
        QString fontName; // the selected name; empty when the list has no selection
        QString fontSize; // text
        qint32 fontColor = 0;
        bool bold = false;
        bool italic = false;
        bool strikethrough = false;
        bool underline = false;

        friend bool operator==(const FontRow &, const FontRow &) = default;
    };

    QString photoSizeText;      // cboPhotoSize text, such as "640x480"
    qint32 frameColor = 0;      // picFrameColor: the border colour
    qint32 backColor = 0;       // picBackColor
    int frameSizeIndex = -1;    // cboFrameSize selection; its text is frameSizeText()
    QString targetName;         // txtTargetName
    int monthIndex = -1;        // cboMonth selection: entry k is month k + 1
    bool englishMonths = false; // which form cboMonth holds: "Jan".. or "01".. (fillMonthList)
    int dayIndex = -1;          // cboDay selection
    QString year;               // txtYear
    QString time;               // txtTime
    std::array<QString, FooterCount> footer;      // txtFooter(0..2)
    std::array<FontRow, ItemCount> fonts;         // font rows of items 0..4
    std::array<FooterAlign, FooterCount> align{}; // tlbFontAlign(2..4)
    QString subframeFolder; // the template's sub-frame folder, for the fill; no control shows it
    TemplateSky sky;        // the template's sky overlay; edited in a dialog of its own

    // The start-up panel: "160x120", white border on black, "01", today's date, "hh:mm JST",
    // every font row "ＭＳ ゴシック" (no selection when fontNames lacks it), "10", white.
    static PanelValues startupDefaults(const QDateTime &now, const QStringList &fontNames,
                                       bool englishMonths);

    // The month, day, year and time at the moment given: the year in four digits, the time as
    // ClockText writes it ("hh:mm JST" in Japan, the zone's abbreviation elsewhere).
    void setDateAndTime(const QDateTime &now);

    // cboMonth's entries: "Jan".."Dec" when englishMonths, otherwise "01".."12".
    static QStringList monthListTexts(bool englishMonths);

    static QString frameSizeListText(int index); // "01" .. "10"
    static QString dayListText(int index);       // "01" .. "31"

    // The texts the lists show for the current selections; empty when none.
    QString frameSizeText() const;
    QString monthText() const;
    QString dayText() const;

    // Pours a template in. Each value is applied on its own; a list selection by number selects
    // an existing entry, -1 clears it, anything else keeps the previous selection (border width
    // 11 keeps, 0 clears); a font name not in fontNames keeps the previous font; an alignment
    // code outside 0..4 keeps the previous alignment. With keepDateAndTime the month, day, year
    // and time stay as they are (start-up).
    void applyTemplate(const TemplateFile &tpl, bool keepDateAndTime, const QStringList &fontNames);

    // Copies the panel into a fresh template object. A value that cannot be taken (no border
    // width selected) is skipped, so the object keeps its empty value; data(1) and fontAlign(0),
    // fontAlign(1) are not written.
    void toTemplate(TemplateFile &tpl) const;

    friend bool operator==(const PanelValues &, const PanelValues &) = default;
};
