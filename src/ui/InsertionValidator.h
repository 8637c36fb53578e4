#pragma once

#include <QValidator>

class QLineEdit;

// A validator that judges what an edit of its box inserts (typed, committed by an input method,
// pasted or dropped) against the text the box held before, as a whole: the box either takes the
// insertion, in the form the judge gives it, or stays as it was. Texts the program sets, and
// steps of undo and redo, are taken as they are. The validator is a child of its box.
class InsertionValidator : public QValidator
{
    Q_OBJECT

public:
    State validate(QString &text, int &pos) const override;

    // `text` with the full-width digits "０" to "９", "ｘ" and "Ｘ" made ASCII.
    static QString toAscii(const QString &text);

protected:
    // Installs the validator on `box`.
    explicit InsertionValidator(QLineEdit *box);

    // What the box takes for `inserted` when it held `before`: a text of the same length, or a
    // null text when the insertion is refused.
    virtual QString judge(const QString &before, const QString &inserted) const = 0;

private:
    void rememberPlace();

    QLineEdit *m_box;
    // The box as the last change left it; an insertion replaces m_start to m_end (the selection,
    // or the cursor).
    QString m_text;
    qsizetype m_start = 0;
    qsizetype m_end = 0;
};
