#include "InsertionValidator.h"

#include <QLineEdit>

#include <algorithm>

InsertionValidator::InsertionValidator(QLineEdit *box) : QValidator(box), m_box(box)
{
    m_text = box->text();
    rememberPlace();
    // Every change of the text, the cursor or the selection is signalled before the next edit.
    // An input method's commit moves the cursor before the new text is judged: a place is kept
    // only for the text last taken.
    connect(box, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_text = text;
        rememberPlace();
    });
    const auto moved = [this] {
        if (m_box->text() == m_text)
            rememberPlace();
    };
    connect(box, &QLineEdit::cursorPositionChanged, this, moved);
    connect(box, &QLineEdit::selectionChanged, this, moved);
    box->setValidator(this);
}

void InsertionValidator::rememberPlace()
{
    const bool selected = m_box->hasSelectedText();
    m_start = selected ? m_box->selectionStart() : m_box->cursorPosition();
    m_end = selected ? m_box->selectionEnd() : m_start;
}

QValidator::State InsertionValidator::validate(QString &text, int &pos) const
{
    Q_UNUSED(pos);
    // Text set by the program comes with an empty undo history; an undo step leaves one to redo.
    if (!m_box->isUndoAvailable() || m_box->isRedoAvailable())
        return Acceptable;

    const QString &before = m_text;
    const QStringView head = QStringView(before).left(m_start);
    const QStringView tail = QStringView(before).mid(m_end);
    qsizetype start = m_start;
    qsizetype length = text.size() - head.size() - tail.size();
    if (length < 0 || !text.startsWith(head) || !text.endsWith(tail)) {
        // Not at the selection (an input method replacing text around the cursor): the part of
        // the text that differs.
        const qsizetype shorter = std::min(text.size(), before.size());
        start = 0;
        while (start < shorter && text.at(start) == before.at(start))
            ++start;
        qsizetype same = 0;
        while (same < shorter - start &&
               text.at(text.size() - 1 - same) == before.at(before.size() - 1 - same))
            ++same;
        length = text.size() - start - same;
    }
    if (length <= 0)
        return Acceptable;
    const QString taken = judge(before, text.mid(start, length));
    if (taken.isNull())
        return Invalid;
    text.replace(start, length, taken);
    return Acceptable;
}

QString InsertionValidator::toAscii(const QString &text)
{
    QString ascii = text;
    for (QChar &c : ascii) {
        if (c >= u'０' && c <= u'９')
            c = QChar(u'0' + (c.unicode() - u'０'));
        else if (c == u'ｘ')
            c = u'x';
        else if (c == u'Ｘ')
            c = u'X';
    }
    return ascii;
}
