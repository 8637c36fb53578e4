#include "ProfileFile.h"

#include "common/AtomicFile.h"
#include "common/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom("\xFF\xFE");
// Decoding that keeps a byte-order mark inside the text and ends with the bytes given.
constexpr QStringConverter::Flags kExact =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool ProfileFile::load(const QString &path, QString *error)
{
    m_lines.clear();
    m_encoding = Encoding::Cp932;
    m_crlf = true;

    QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    loadFromBytes(file.readAll());
    return true;
}

namespace {

// Calls add(start, end, next) for each line of body: [start, end) is the line without its line
// end, [end, next) the line end ("\r\n", "\n", or "\r" or nothing at the end of the body).
template <class Body, class Add> void splitLines(Body body, Add add)
{
    qsizetype start = 0;
    while (start < body.size()) {
        const qsizetype lf = body.indexOf(u'\n', start);
        const qsizetype next = lf < 0 ? body.size() : lf + 1;
        qsizetype end = lf < 0 ? body.size() : lf;
        if (end > start && body[end - 1] == u'\r')
            --end;
        add(start, end, next);
        start = next;
    }
}

QByteArray utf16Le(QStringView text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        bytes[2 * i] = char(text[i].unicode() & 0xFF);
        bytes[2 * i + 1] = char(text[i].unicode() >> 8);
    }
    return bytes;
}

} // namespace

void ProfileFile::loadFromBytes(const QByteArray &bytes)
{
    m_lines.clear();
    QByteArrayView body(bytes);
    m_encoding = Encoding::Cp932;
    if (body.startsWith(kUtf8Bom)) {
        m_encoding = Encoding::Utf8Bom;
        body = body.sliced(kUtf8Bom.size());
    } else if (body.startsWith(kUtf16LeBom)) {
        m_encoding = Encoding::Utf16LeBom;
        body = body.sliced(kUtf16LeBom.size());
    }

    if (m_encoding == Encoding::Utf16LeBom) {
        // UTF-16 is split after decoding (a byte 0x0A may be half of any character), two bytes
        // a character; an odd last byte stays in the last line's bytes.
        QStringDecoder decoder(QStringConverter::Utf16LE, kExact);
        const QString text = decoder.decode(body);
        const qsizetype firstLf = text.indexOf(u'\n');
        m_crlf = firstLf < 0 || (firstLf > 0 && text[firstLf - 1] == u'\r');
        splitLines(QStringView(text), [&](qsizetype start, qsizetype end, qsizetype next) {
            Line line;
            line.text = text.sliced(start, end - start);
            line.raw = body.sliced(2 * start, qMin(2 * end, body.size()) - 2 * start).toByteArray();
            line.end = text.sliced(end, next - end).toLatin1();
            line.decoded = !decoder.hasError();
            m_lines.append(line);
        });
        return;
    }

    const qsizetype firstLf = body.indexOf('\n');
    m_crlf = firstLf < 0 || (firstLf > 0 && body[firstLf - 1] == '\r');
    splitLines(body, [&](qsizetype start, qsizetype end, qsizetype next) {
        Line line;
        line.raw = body.sliced(start, end - start).toByteArray();
        line.end = body.sliced(end, next - end).toByteArray();
        if (m_encoding == Encoding::Utf8Bom) {
            QStringDecoder utf8(QStringConverter::Utf8, kExact);
            line.text = utf8.decode(line.raw);
            line.decoded = !utf8.hasError();
            // Bytes a code page 932 file kept when it turned to UTF-8 read as they read before,
            // so that a stray byte does not open or close a section now.
            if (!line.decoded)
                line.text = Cp932::decode(line.raw);
        } else {
            line.text = Cp932::decode(line.raw, &line.decoded);
        }
        m_lines.append(line);
    });
}

bool ProfileFile::isSectionLine(const QString &text, QString *name)
{
    const QString trimmed = trimBlanks(text);
    if (!trimmed.startsWith(u'['))
        return false;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return false;
    if (name)
        *name = trimBlanks(QStringView(trimmed).mid(1, close - 1));
    return true;
}

bool ProfileFile::splitKeyLine(const QString &text, QString *key, QString *value)
{
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0)
        return false;
    if (key)
        *key = trimBlanks(QStringView(text).left(eq));
    if (value)
        *value = trimBlanks(QStringView(text).mid(eq + 1));
    return true;
}

int ProfileFile::findSection(const QString &section) const
{
    QString name;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines[i].text, &name) && sameName(name, section))
            return i;
    }
    return -1;
}

int ProfileFile::sectionEnd(int sectionLine) const
{
    int i = sectionLine + 1;
    while (i < m_lines.size() && !isSectionLine(m_lines[i].text))
        ++i;
    return i;
}

int ProfileFile::findKey(int sectionLine, const QString &key) const
{
    const int end = sectionEnd(sectionLine);
    QString name;
    for (int i = sectionLine + 1; i < end; ++i) {
        if (splitKeyLine(m_lines[i].text, &name, nullptr) && sameName(name, key))
            return i;
    }
    return -1;
}

bool ProfileFile::hasKey(const QString &section, const QString &key) const
{
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QString ProfileFile::value(const QString &section, const QString &key,
                           const QString &fallback) const
{
    const int s = findSection(section);
    if (s < 0)
        return fallback;
    const int k = findKey(s, key);
    if (k < 0)
        return fallback;
    QString v;
    splitKeyLine(m_lines[k].text, nullptr, &v);
    return v;
}

qint32 ProfileFile::parseInt(QStringView text, qint32 fallback)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i == text.size())
        return fallback;
    bool negative = false;
    if (text[i] == u'-') {
        negative = true;
        ++i;
    }
    quint32 result = 0;
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        for (i += 2; i < text.size(); ++i) {
            const int digit = hexDigit(text[i]);
            if (digit < 0)
                break;
            result = result * 16u + quint32(digit);
        }
    } else {
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
            result = result * 10u + quint32(text[i].unicode() - u'0');
    }
    if (negative)
        result = 0u - result;
    return qint32(result);
}

qint32 ProfileFile::intValue(const QString &section, const QString &key, qint32 fallback) const
{
    if (!hasKey(section, key))
        return fallback;
    return parseInt(value(section, key, QString()), fallback);
}

void ProfileFile::setValue(const QString &section, const QString &key, const QString &value)
{
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');

    int s = findSection(section);
    if (s < 0) {
        Line header;
        header.text = u'[' + section + u']';
        header.dirty = true;
        appendLine(header);
        s = int(m_lines.size()) - 1;
    }
    Line entry;
    entry.dirty = true;
    const int k = findKey(s, key);
    if (k >= 0) {
        QString existingKey;
        QString existingValue;
        splitKeyLine(m_lines[k].text, &existingKey, &existingValue);
        if (existingValue == trimBlanks(value))
            return;
        entry.text = existingKey + u'=' + clean;
        entry.end = m_lines[k].end;
        m_lines[k] = entry;
        return;
    }
    entry.text = key + u'=' + clean;
    // After the section's last non-blank line, so blank separator lines stay between sections.
    int insertAt = sectionEnd(s);
    while (insertAt > s + 1 && trimBlanks(m_lines[insertAt - 1].text).isEmpty())
        --insertAt;
    if (insertAt == m_lines.size()) {
        appendLine(entry);
        return;
    }
    entry.end = lineEnd();
    m_lines.insert(insertAt, entry);
}

QByteArray ProfileFile::lineEnd() const
{
    return m_crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

void ProfileFile::appendLine(Line line)
{
    // The last line of a file may lack its line end; it gets one before a line follows it.
    if (!m_lines.isEmpty() && !m_lines.last().end.endsWith('\n'))
        m_lines.last().end = lineEnd();
    line.end = lineEnd();
    m_lines.append(line);
}

QByteArray ProfileFile::toBytes(QString *utf8Character) const
{
    if (utf8Character)
        utf8Character->clear();
    QByteArray out;
    if (m_encoding == Encoding::Utf16LeBom) {
        out = kUtf16LeBom;
        for (const Line &line : m_lines) {
            // An odd last byte read as U+FFFD keeps its place only while nothing follows it.
            const bool whole = !line.dirty && (line.raw.size() % 2 == 0 || line.end.isEmpty());
            out += (whole ? line.raw : utf16Le(line.text)) + utf16Le(QString::fromLatin1(line.end));
        }
        return out;
    }

    // Code page 932 whenever every line has a code page 932 form; a file once turned into UTF-8
    // goes back at the first change after which it fits, and is written back as it was while
    // nothing changes. Lines read from a code page 932 file keep their bytes.
    QList<QByteArray> encoded;
    encoded.reserve(m_lines.size());
    bool fits = true;
    bool changed = false;
    for (const Line &line : m_lines) {
        changed = changed || line.dirty;
        QByteArray bytes;
        if (m_encoding == Encoding::Cp932 && !line.dirty) {
            bytes = line.raw;
        } else if (fits && (!line.decoded || !Cp932::encode(line.text, &bytes))) {
            fits = false;
            if (utf8Character)
                *utf8Character = line.decoded ? Cp932::firstUnencodable(line.text)
                                              : QString(QChar::ReplacementCharacter);
        }
        encoded.append(bytes);
    }
    const bool cp932 = fits && (m_encoding == Encoding::Cp932 || changed);
    if (!cp932) {
        out = kUtf8Bom;
        encoded.clear();
        for (const Line &line : m_lines) {
            // Bytes that never were code page 932 text have no UTF-8 form that keeps them.
            const bool keepRaw = !line.dirty && (m_encoding == Encoding::Utf8Bom || !line.decoded);
            encoded.append(keepRaw ? line.raw : line.text.toUtf8());
        }
    }
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        out += encoded[i];
        out += m_lines[i].end;
    }
    return out;
}

bool ProfileFile::save(const QString &path, QString *error, QString *utf8Character) const
{
    return AtomicFile::write(path, toBytes(utf8Character), error);
}
