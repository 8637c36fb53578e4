#pragma once

#include "compose/TextItem.h"

#include <QToolButton>

class QAction;

// `tlbFontAlign(i)`: a one-button toolbar whose button holds a footer item's alignment. The
// alignment code is kept as text, the icon and tooltip show the chosen drop-down entry.
class AlignButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(QString alignmentCode READ alignmentCode WRITE setAlignmentCode)

public:
    static constexpr int EntryCount = 5;

    // With showAboveEntries false, entries 4 and 5 (edges of the item above) are hidden.
    AlignButton(bool showAboveEntries, QWidget *parent = nullptr);

    QString alignmentCode() const { return m_code; }
    void setAlignmentCode(const QString &code) { m_code = code; }

    // Image of `imlAlign` shown on the button, 1 to 5.
    int image() const { return m_image; }

    // The n-th drop-down entry (1 to 5), hidden or not.
    QAction *entry(int n) const;

    int visibleEntryCount() const;

    // Entry n chosen: image n, the entry's text as tooltip, n - 1 as alignment code. n outside
    // 1..5 is ignored.
    void chooseEntry(int n);

    // Shows an alignment code as the panel holds it: an empty code is the start-up state (image 1,
    // read as left); a code 0..4 shows its entry.
    void showAlignmentCode(const QString &code);

    // The alignment the code holds; an empty code is left.
    FooterAlign alignment() const;
    // Shows an alignment as choosing its entry does; the untouched button of start-up keeps its
    // empty alignment code for left.
    void setAlignment(FooterAlign align);

    // A click on the button itself: the entry after the current one among the visible count.
    void stepToNext();

protected:
    // The button stands in its toolbar with a small margin above and below, as high as a panel
    // row, so that the three toolbars, which overlap a little, never draw over each other.
    void paintEvent(QPaintEvent *event) override;

signals:
    // The user picked entry n of the drop-down; the owner applies it with chooseEntry().
    void entryChosen(int n);

private:
    QList<QAction *> m_entries;
    QString m_code;
    int m_image = 1;
};
