#include "AlignButton.h"

#include "AppIcons.h"
#include "compose/TextNumber.h"

#include <QMenu>
#include <QStyleOptionToolButton>
#include <QStylePainter>

#include <cmath>

namespace {

// The drop-down entries: key and text; the code of entry n is n - 1.
struct Entry
{
    const char *key;
    const char *text;
};
constexpr Entry Entries[AlignButton::EntryCount] = {
    {"IDT_LEFT", QT_TRANSLATE_NOOP("AlignButton", "左揃え")},
    {"IDT_CENTER", QT_TRANSLATE_NOOP("AlignButton", "中央揃え")},
    {"IDT_RIGHT", QT_TRANSLATE_NOOP("AlignButton", "右揃え")},
    {"IDT_LEFTUP", QT_TRANSLATE_NOOP("AlignButton", "上項目の左")},
    {"IDT_RIGHTUP", QT_TRANSLATE_NOOP("AlignButton", "上項目の右")},
};

} // namespace

AlignButton::AlignButton(bool showAboveEntries, QWidget *parent) : QToolButton(parent)
{
    setPopupMode(QToolButton::MenuButtonPopup);
    setIconSize(QSize(16, 16));
    setAutoRaise(false);
    auto *menu = new QMenu(this);
    for (int n = 1; n <= EntryCount; ++n) {
        const Entry &entry = Entries[n - 1];
        QAction *action = menu->addAction(AppIcons::alignIcon(n), tr(entry.text));
        action->setObjectName(QString::fromLatin1(entry.key));
        action->setVisible(n <= 3 || showAboveEntries);
        connect(action, &QAction::triggered, this, [this, n] { emit entryChosen(n); });
        m_entries.append(action);
    }
    setMenu(menu);
    setIcon(AppIcons::alignIcon(1));
}

QAction *AlignButton::entry(int n) const
{
    return n >= 1 && n <= m_entries.size() ? m_entries[n - 1] : nullptr;
}

int AlignButton::visibleEntryCount() const
{
    int count = 0;
    for (const QAction *action : m_entries)
        count += action->isVisible() ? 1 : 0;
    return count;
}

void AlignButton::chooseEntry(int n)
{
    QAction *action = entry(n);
    if (!action)
        return;
    m_image = n;
    setIcon(AppIcons::alignIcon(n));
    setToolTip(action->text());
    m_code = QString::number(n - 1);
}

void AlignButton::stepToNext()
{
    const int visible = visibleEntryCount();
    if (visible == 0)
        return;
    const double t = std::nearbyint(TextNumber::leadingValue(m_code) + 1.0);
    const int next = int(std::fmod(t, visible)) + 1;
    chooseEntry(next);
}

void AlignButton::showAlignmentCode(const QString &code)
{
    const std::optional<qint32> number = TextNumber::leadingNumber(code);
    if (!code.isEmpty() && number && *number >= 0 && *number < EntryCount) {
        chooseEntry(*number + 1);
        return;
    }
    chooseEntry(1);
    m_code = code;
}

FooterAlign AlignButton::alignment() const
{
    const std::optional<qint32> code = TextNumber::leadingNumber(m_code);
    return code ? footerAlignFromCode(*code).value_or(FooterAlign::Left) : FooterAlign::Left;
}

void AlignButton::setAlignment(FooterAlign align)
{
    const bool untouched = m_code.isEmpty() && align == FooterAlign::Left;
    showAlignmentCode(untouched ? QString() : QString::number(qint32(align)));
}

void AlignButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // 390 twips of toolbar around a 300-twip button.
    const int margin = qRound(height() * 45.0 / 390.0);
    option.rect.adjust(0, margin, 0, -margin);
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}
