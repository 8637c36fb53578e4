#include "NumberInputFilter.h"

#include "PlatformServices.h"
#include "common/Cp932.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>

namespace {

// The character set of each fixed flag bit.
struct CharSet
{
    quint32 bit;
    const char16_t *chars;
};
constexpr CharSet FixedSets[] = {
    {NumberInputFilter::AllowDigits, u"0123456789"},
    {NumberInputFilter::AllowLetters, u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {NumberInputFilter::AllowPeriod, u"."},
    {NumberInputFilter::AllowSlash, u"/"},
    {NumberInputFilter::AllowMinus, u"-"},
    {NumberInputFilter::AllowBlank, u" "},
    {NumberInputFilter::AllowColon, u":"},
    {NumberInputFilter::AllowAt, u"@"},
    {NumberInputFilter::AllowTilde, u"~"},
};

// The line edit that takes the characters of a box: the box itself or the combo box's editor.
QLineEdit *editorOf(QWidget *box)
{
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        return edit;
    if (auto *combo = qobject_cast<QComboBox *>(box))
        return combo->lineEdit();
    return nullptr;
}

// Characters a text box would insert; control characters (backspace, carriage return, escape,
// delete and the like) are editing and navigation keys that the box handles itself.
bool isInsertable(QChar c)
{
    return c.category() != QChar::Other_Control;
}

bool hasInsertable(const QString &text)
{
    return std::any_of(text.begin(), text.end(), isInsertable);
}

// The key of a typed ASCII digit or x, for the key event that carries it; other texts keep `key`.
int keyOf(const QString &text, int key)
{
    if (text.size() != 1)
        return key;
    const QChar c = text.at(0);
    if (c >= u'0' && c <= u'9')
        return Qt::Key_0 + (c.unicode() - u'0');
    return c == u'x' || c == u'X' ? int(Qt::Key_X) : key;
}

// A Ctrl combination is a command; Ctrl with Alt is AltGr on Windows, which types characters.
bool isShortcut(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    return (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
}

// The Paste entry of a line edit's standard menu, known by its key sequence whatever the language:
// the shortcut it carries or shows after a tab, or the name newer Qt versions give it.
QAction *pasteActionOf(const QMenu *menu)
{
    const QList<QKeySequence> pasteKeys = QKeySequence::keyBindings(QKeySequence::Paste);
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste"))
            return action;
        const QKeySequence shown =
            QKeySequence::fromString(action->text().section(u'\t', 1), QKeySequence::NativeText);
        for (const QKeySequence &key : pasteKeys) {
            if ((!shown.isEmpty() && shown == key) || action->shortcuts().contains(key))
                return action;
        }
    }
    return nullptr;
}

} // namespace

NumberInputFilter::NumberInputFilter(PlatformServices &services, QObject *parent)
    : QObject(parent), m_services(services)
{}

NumberInputFilter::~NumberInputFilter()
{
    unhookControl();
}

void NumberInputFilter::guard(QWidget *box, quint32 flags, const QString &custom)
{
    if (!editorOf(box))
        return;
    m_guarded.insert(box, Rule{flags, custom});
    watch(box);
    if (box->hasFocus())
        hookControl(box, flags, custom);
}

void NumberInputFilter::guardPhotoSize(QComboBox *box)
{
    if (!editorOf(box))
        return;
    m_photoSize.insert(box, true);
    watch(box);
}

void NumberInputFilter::watch(QWidget *box)
{
    for (QObject *object : {static_cast<QObject *>(box), static_cast<QObject *>(editorOf(box))}) {
        if (m_boxOf.contains(object))
            continue;
        m_boxOf.insert(object, box);
        object->installEventFilter(this);
        connect(object, &QObject::destroyed, this, &NumberInputFilter::forget);
    }
}

void NumberInputFilter::forget(QObject *object)
{
    m_boxOf.remove(object);
    m_guarded.remove(object);
    m_photoSize.remove(object);
}

void NumberInputFilter::hookControl(QWidget *control, quint32 flags, const QString &custom)
{
    unhookControl();
    if (!editorOf(control)) {
        m_services.message(nullptr, QMessageBox::Critical, QApplication::applicationDisplayName(),
                           tr("Error : HookControl Function"), QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    watch(control);
    m_hookedControl = control;
    m_allowFlags = flags;
    m_allowCustom = custom;
}

void NumberInputFilter::unhookControl()
{
    // Removing an event filter cannot fail, so there is no failure to report here.
    m_hookedControl = nullptr;
}

bool NumberInputFilter::isAllowed(const QString &text, quint32 flags, const QString &custom)
{
    if (flags == 0)
        return false;
    int count = 0;
    for (QChar c : text) {
        bool member = false;
        for (const CharSet &set : FixedSets)
            member = member || ((flags & set.bit) &&
                                countMatchingChars(c, QString::fromUtf16(set.chars)) > 0);
        if ((flags & AllowCustom) && countMatchingChars(c, custom) > 0)
            member = true;
        count += member ? 1 : 0;
    }
    return count == text.size();
}

bool NumberInputFilter::isAllowedChar(const QString &text) const
{
    return isAllowed(text, m_allowFlags, m_allowCustom);
}

int NumberInputFilter::countMatchingChars(const QString &text, const QString &set)
{
    int count = 0;
    for (QChar c : text) {
        if (set.contains(c, Qt::CaseSensitive))
            ++count;
    }
    return count;
}

QString NumberInputFilter::toAsciiDigits(const QString &text)
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

bool NumberInputFilter::isDoubleByte(QChar c)
{
    QByteArray bytes;
    return Cp932::encode(QString(c), &bytes) && bytes.size() == 2;
}

QChar NumberInputFilter::photoSizeKey(const QString &remainingText, QChar typed)
{
    typed = toAsciiDigits(QString(typed)).at(0);
    if (typed == u'\r' || typed == u'\b')
        return typed;
    if (typed >= u'0' && typed <= u'9')
        return typed;
    if (typed == u'x' || typed == u'X')
        return remainingText.contains(u'x', Qt::CaseInsensitive) ? QChar() : QChar(u'x');
    return QChar();
}

bool NumberInputFilter::filterPaste(QLineEdit *edit, bool selection)
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data =
        clipboard->mimeData(selection ? QClipboard::Selection : QClipboard::Clipboard);
    // A clipboard without text reaches the box's own paste, which inserts nothing.
    if (!data || !data->hasText())
        return false;
    const QString text = data->text();
    const QString ascii = toAsciiDigits(text);
    if (!isAllowedChar(ascii))
        return true;
    if (ascii == text || !edit)
        return false;
    // As the box's own paste does it: over the selection, or the middle button's at the cursor.
    if (selection)
        edit->deselect();
    edit->insert(ascii);
    return true;
}

bool NumberInputFilter::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *box = m_boxOf.value(watched);
    if (!box)
        return false;

    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == box && m_guarded.contains(static_cast<QObject *>(box))) {
            const Rule rule = m_guarded.value(box);
            hookControl(box, rule.flags, rule.custom);
        }
        return false;
    case QEvent::FocusOut:
        // A context menu takes the focus only for as long as it is open: the box stays hooked.
        if (watched == box && m_hookedControl == box &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            unhookControl();
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return judgeDrop(box, event);
    default:
        break;
    }

    if (auto *combo = qobject_cast<QComboBox *>(box); combo && m_photoSize.contains(box))
        return filterPhotoSize(combo, watched, event);
    if (box != m_hookedControl)
        return false;
    return filterInput(watched, event);
}

bool NumberInputFilter::filterInput(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        // Ctrl+V and Shift+Insert: the clipboard text is judged as a whole.
        if (key->matches(QKeySequence::Paste))
            return filterPaste(editorOf(m_hookedControl), false);
        // Other Ctrl combinations (copy, cut, undo, select all...) do their usual work.
        if (isShortcut(key))
            return false;
        const QString text = key->text();
        if (!hasInsertable(text))
            return false;
        if (m_allowFlags == 0 && std::all_of(text.begin(), text.end(), isDoubleByte))
            return false;
        const QString ascii = toAsciiDigits(text);
        if (!isAllowedChar(ascii))
            return true;
        if (ascii == text)
            return false;
        // The box takes the ASCII form, as if it had been typed so.
        QKeyEvent typed(QEvent::KeyPress, keyOf(ascii, key->key()), key->modifiers(), ascii,
                        key->isAutoRepeat(), key->count());
        QCoreApplication::sendEvent(watched, &typed);
        return true;
    }
    case QEvent::InputMethod: {
        // Each committed character is judged on its own, as each arrives separately.
        auto *input = static_cast<QInputMethodEvent *>(event);
        const QString commit = input->commitString();
        QString kept;
        for (QChar c : commit) {
            const QChar ascii = toAsciiDigits(QString(c)).at(0);
            if (m_allowFlags == 0 && isDoubleByte(c))
                kept.append(c);
            else if (isAllowedChar(ascii))
                kept.append(ascii);
        }
        if (kept == commit)
            return false;
        QInputMethodEvent filtered(input->preeditString(), input->attributes());
        filtered.setCommitString(kept, input->replacementStart(), input->replacementLength());
        QCoreApplication::sendEvent(watched, &filtered);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the selection on systems that have one.
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection())
            return filterPaste(editorOf(m_hookedControl), true);
        return false;
    }
    case QEvent::ContextMenu:
        if (auto *edit = qobject_cast<QLineEdit *>(watched)) {
            showContextMenu(edit, event);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void NumberInputFilter::showContextMenu(QLineEdit *edit, QEvent *event)
{
    // The box's own menu, whose Paste judges the clipboard text like Ctrl+V.
    QMenu *menu = edit->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction *paste = pasteActionOf(menu)) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        QPointer<QLineEdit> target(edit);
        connect(paste, &QAction::triggered, this, [this, target] {
            if (target && !filterPaste(target, false))
                target->paste();
        });
    }
    menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
}

bool NumberInputFilter::judgeDrop(QWidget *box, QEvent *event)
{
    const QMimeData *data = static_cast<QDropEvent *>(event)->mimeData();
    const bool hooked = box == m_hookedControl;
    if (!hooked && !m_guarded.contains(static_cast<QObject *>(box)))
        return false;
    const Rule rule = hooked ? Rule{m_allowFlags, m_allowCustom} : m_guarded.value(box);
    if (!data || !data->hasText() || isAllowed(data->text(), rule.flags, rule.custom))
        return false;
    event->ignore();
    return true;
}

bool NumberInputFilter::filterPhotoSize(QComboBox *box, QObject *watched, QEvent *event)
{
    QLineEdit *edit = box->lineEdit();
    if (!edit)
        return false;
    // The text that stays: typing replaces the selected part.
    QString remaining = edit->text();
    if (edit->hasSelectedText())
        remaining.remove(edit->selectionStart(), edit->selectedText().size());

    const auto rewrite = [&remaining](const QString &typed) {
        QString out;
        for (QChar c : typed) {
            const QChar kept = photoSizeKey(remaining + out, c);
            if (!kept.isNull())
                out.append(kept);
        }
        return out;
    };

    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (isShortcut(key) || !hasInsertable(text))
            return false;
        const QString out = rewrite(text);
        if (out == text)
            return false;
        if (!out.isEmpty()) {
            QKeyEvent changed(QEvent::KeyPress, keyOf(out, key->key()), Qt::NoModifier, out);
            QCoreApplication::sendEvent(watched, &changed);
        }
        return true;
    }
    if (event->type() == QEvent::InputMethod) {
        auto *input = static_cast<QInputMethodEvent *>(event);
        const QString out = rewrite(input->commitString());
        if (out == input->commitString())
            return false;
        QInputMethodEvent filtered(input->preeditString(), input->attributes());
        filtered.setCommitString(out, input->replacementStart(), input->replacementLength());
        QCoreApplication::sendEvent(watched, &filtered);
        return true;
    }
    return false;
}
