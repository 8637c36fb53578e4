// The profile-file reader and writer: whatever the bytes, writing back and reading again gives
// the same values, a second write gives the same bytes, and one changed key changes nothing else.
#include "FuzzSupport.h"
#include "common/Cp932.h"
#include "store/ProfileFile.h"

#include <QList>

namespace {

struct Entry
{
    QString section;
    QString key;
};

QString trimmed(QStringView text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && (text[b] == u' ' || text[b] == u'\t'))
        ++b;
    while (e > b && (text[e - 1] == u' ' || text[e - 1] == u'\t'))
        --e;
    return text.mid(b, e - b).toString();
}

// Every section and key the bytes name, found independently of ProfileFile.
QList<Entry> entries(const QByteArray &bytes)
{
    QList<Entry> out;
    QByteArray body = bytes;
    const bool utf8 = body.startsWith("\xEF\xBB\xBF");
    if (utf8)
        body.remove(0, 3);
    QString section;
    for (QByteArray raw : body.split('\n')) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString text = utf8 ? QString::fromUtf8(raw) : Cp932::decode(raw);
        const QString t = trimmed(text);
        if (t.startsWith(u'[') && t.contains(u']')) {
            section = trimmed(QStringView(t).mid(1, t.indexOf(u']') - 1));
            out.append({section, QString()});
            continue;
        }
        const qsizetype eq = text.indexOf(u'=');
        if (eq >= 0)
            out.append({section, trimmed(QStringView(text).left(eq))});
    }
    return out;
}

// A name made of letters, digits and '-' from the next bytes of the input.
QString takeName(const uint8_t *&data, size_t &size)
{
    static const char alphabet[] = "abcFrameHeader-0123456789XYZ";
    QString name;
    while (size > 0 && name.size() < 6) {
        const uint8_t c = *data++;
        --size;
        if (c == 0)
            break;
        name += QLatin1Char(alphabet[c % (sizeof alphabet - 1)]);
    }
    return name.isEmpty() ? QStringLiteral("Frame") : name;
}

// Code page 932's form of text that it can hold: look-alikes become their twins.
QString throughCp932(const QString &text)
{
    QByteArray bytes;
    return Cp932::encode(text, &bytes) ? Cp932::decode(bytes) : text;
}

void compareAll(const ProfileFile &expected, const ProfileFile &actual, const QList<Entry> &names,
                const char *what, const QString &skipSection = QString(),
                const QString &skipKey = QString(), bool nowCp932 = false)
{
    for (const Entry &e : names) {
        if (e.key.isEmpty())
            continue;
        if (!skipKey.isEmpty() &&
            QString::compare(e.section, skipSection, Qt::CaseInsensitive) == 0 &&
            QString::compare(e.key, skipKey, Qt::CaseInsensitive) == 0)
            continue;
        QString a = expected.value(e.section, e.key, QStringLiteral("\x01missing"));
        if (nowCp932)
            a = throughCp932(a);
        const QString b = actual.value(e.section, e.key, QStringLiteral("\x01missing"));
        if (a != b)
            FuzzSupport::fail(
                what, QStringLiteral("[%1] %2: \"%3\" became \"%4\"").arg(e.section, e.key, a, b));
        if (expected.intValue(e.section, e.key, -7) != actual.intValue(e.section, e.key, -7))
            FuzzSupport::fail(what, e.key);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first bytes choose one change; the rest is the file.
    const uint8_t *control = data;
    size_t controlSize = size < 24 ? size : 24;
    const QByteArray bytes(reinterpret_cast<const char *>(data + controlSize),
                           qsizetype(size - controlSize));
    const QList<Entry> names = entries(bytes);

    ProfileFile first;
    first.loadFromBytes(bytes);
    const QByteArray written = first.toBytes();
    if (written != bytes)
        FuzzSupport::fail("an unchanged file was written back otherwise");
    ProfileFile second;
    second.loadFromBytes(written);
    compareAll(first, second, names, "read, write, read changed a value");
    if (second.toBytes() != written)
        FuzzSupport::fail("a second write gave other bytes");

    // One changed key: it reads back as set, every other key as before.
    const QString section = takeName(control, controlSize);
    const QString key = takeName(control, controlSize);
    QString value;
    while (controlSize >= 2) {
        const char16_t c = char16_t(control[0] | control[1] << 8);
        control += 2;
        controlSize -= 2;
        value += QChar(c);
    }
    // Text typed or pasted holds whole characters: no lone surrogate halves.
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i].isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate())
            ++i;
        else if (value[i].isSurrogate())
            value[i] = QChar::ReplacementCharacter;
    }
    ProfileFile changed;
    changed.loadFromBytes(bytes);
    changed.setValue(section, key, value);
    const QByteArray changedBytes = changed.toBytes();
    ProfileFile reread;
    reread.loadFromBytes(changedBytes);

    QString expected = value;
    expected.replace(u'\r', u' ').replace(u'\n', u' ');
    expected = trimmed(expected);
    if (!changedBytes.startsWith("\xEF\xBB\xBF") && !changedBytes.startsWith("\xFF\xFE")) {
        if (!Cp932::canEncode(expected))
            FuzzSupport::fail("a code page 932 file holds a value it cannot encode", expected);
        expected = throughCp932(expected);
    }
    const QString got = reread.value(section, key, QStringLiteral("\x01missing"));
    if (got != expected)
        FuzzSupport::fail("the changed key reads back otherwise",
                          got + QStringLiteral(" / ") + expected);
    // A code page 932 file that turned to UTF-8 keeps the bytes of lines that were no text. Those
    // read otherwise now (and may even start or end a section), so then only their bytes are
    // checked.
    const bool wasUtf8 = bytes.startsWith("\xEF\xBB\xBF");
    const bool switched = changedBytes.startsWith("\xEF\xBB\xBF") != wasUtf8;
    bool allDecoded = true;
    for (const QByteArray &line : bytes.split('\n')) {
        bool ok = true;
        Cp932::decode(line.endsWith('\r') ? line.chopped(1) : line, &ok);
        if (!ok && !wasUtf8) {
            allDecoded = false;
            if (switched && !changedBytes.contains(line.endsWith('\r') ? line.chopped(1) : line))
                FuzzSupport::fail("a line that was no text lost its bytes");
        }
    }
    // A UTF-8 file back in code page 932 holds every value as code page 932 writes it (an em dash
    // as a horizontal bar).
    if (!switched || allDecoded)
        compareAll(first, reread, names, "a changed key changed another", section, key,
                   switched && wasUtf8);
    return 0;
}
