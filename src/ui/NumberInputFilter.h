#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class PlatformServices;
class QComboBox;
class QEvent;
class QLineEdit;
class QWidget;

// The input character filter of the numeric text boxes. The box that has the keyboard focus is
// "hooked": its typed characters, input-method commits and pastes (keyboard, context menu, middle
// button) are judged by isAllowedChar before the box takes them, and disallowed ones are dropped
// silently. Full-width digits, "ｘ" and "Ｘ" (what a Japanese input method types) are first made
// ASCII, and the box takes them so. Only one box is hooked at a time.
//
// Typical use by a window, once per box:
//     m_hook.guard(txtYear);            // digits only while txtYear has the focus
//     m_hook.guardPhotoSize(cboPhotoSize);
// and m_hook.unhookControl() when the window unloads (the destructor does it too).
class NumberInputFilter : public QObject
{
    Q_OBJECT

public:
    // Allowed-character flags; each bit adds one set of characters.
    enum : quint32
    {
        AllowDigits = 0x1,   // "0123456789"
        AllowLetters = 0x2,  // a-z and A-Z
        AllowPeriod = 0x4,   // "."
        AllowSlash = 0x8,    // "/"
        AllowMinus = 0x10,   // "-"
        AllowBlank = 0x20,   // " "
        AllowColon = 0x40,   // ":"
        AllowAt = 0x80,      // "@"
        AllowTilde = 0x100,  // "~"
        AllowCustom = 0x200, // every character of the custom set
    };

    explicit NumberInputFilter(PlatformServices &services, QObject *parent = nullptr);
    ~NumberInputFilter() override;

    // Hooks `box` (a QLineEdit or an editable QComboBox) with these flags whenever it gains the
    // focus and unhooks it when the focus leaves; text dropped on it is judged the same way.
    void guard(QWidget *box, quint32 flags = AllowDigits, const QString &custom = QString());

    // The key rule of the photo-size box: digits pass, "X" and "x" become one "x", all other
    // characters are dropped (full-width digits and x count as ASCII). Pastes are not filtered.
    void guardPhotoSize(QComboBox *box);

    // Installs the filter on `control`, replacing any earlier hook. A control that cannot take the
    // filter (none, or not a text box) is told in the message "Error : HookControl Function".
    void hookControl(QWidget *control, quint32 flags, const QString &custom);
    // Removes the filter; does nothing when nothing is hooked.
    void unhookControl();

    QWidget *hookedControl() const { return m_hookedControl; }
    quint32 allowFlags() const { return m_allowFlags; }
    QString allowCustomSet() const { return m_allowCustom; }

    // True when every character of `text` is allowed under the current flags; the empty text is
    // allowed, and nothing is allowed when the flags are 0.
    bool isAllowedChar(const QString &text) const;

    // The number of positions of `text` whose character occurs in `set`.
    static int countMatchingChars(const QString &text, const QString &set);

    // `text` with the full-width digits "０" to "９", "ｘ" and "Ｘ" made ASCII; the rest unchanged.
    static QString toAsciiDigits(const QString &text);

    // The character that typing `typed` puts into the photo-size box whose remaining text (the
    // text without the part the typed character replaces) is `remainingText`; a null QChar when
    // the character is dropped.
    static QChar photoSizeKey(const QString &remainingText, QChar typed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Rule
    {
        quint32 flags = 0;
        QString custom;
    };

    static bool isAllowed(const QString &text, quint32 flags, const QString &custom);
    static bool isDoubleByte(QChar c);
    // Returns true when the event is swallowed.
    bool filterInput(QObject *watched, QEvent *event);
    bool filterPhotoSize(QComboBox *box, QObject *watched, QEvent *event);
    bool judgeDrop(QWidget *box, QEvent *event);
    // Judges the clipboard text a paste into `edit` would insert. True when the box's own paste
    // must not run: the text is refused, or it was inserted here in its ASCII form.
    bool filterPaste(QLineEdit *edit, bool selection);
    void showContextMenu(QLineEdit *edit, QEvent *event);
    void watch(QWidget *box);
    void forget(QObject *object);

    PlatformServices &m_services;
    QPointer<QWidget> m_hookedControl;
    quint32 m_allowFlags = 0;
    QString m_allowCustom;

    // Every watched object (a box, or the line edit inside a combo box) to its box.
    QHash<QObject *, QWidget *> m_boxOf;
    QHash<const QObject *, Rule> m_guarded;
    QHash<const QObject *, bool> m_photoSize;
};
