#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A profile file: "[Section]" lines and "key=value" lines, read and written the way the Windows
// profile functions do, so that files travel between this program and its Windows installs.
//
// Section and key names match without regard to letter case. Lines that are not touched by
// setValue() are written back byte for byte, in place, each with its own line end. Values are
// read whole, however long.
//
// Text is code page 932. A file whose values code page 932 cannot hold is written as UTF-8 with a
// byte-order mark, so nothing is lost; it goes back to code page 932 at the first change after
// which every line fits again (unchanged, a file is written back as it was). When a file turns to
// UTF-8, its untouched lines that hold bytes which are no code page 932 text keep those bytes as
// they are. A file in UTF-16LE with a byte-order mark (the Windows profile functions read those) is
// read as such and written back the same.
class ProfileFile
{
public:
    enum class Encoding
    {
        Cp932,
        Utf8Bom,
        Utf16LeBom
    };

    // Reads the file. A missing file (or a folder) gives an empty profile and returns true;
    // a file that exists but cannot be read returns false with the reason in *error.
    bool load(const QString &path, QString *error = nullptr);
    void loadFromBytes(const QByteArray &bytes);

    bool hasKey(const QString &section, const QString &key) const;

    // The value with blanks around it dropped, or fallback when the section or key is missing.
    QString value(const QString &section, const QString &key, const QString &fallback) const;

    // Leading blanks skipped, an optional minus, decimal digits or hex digits after "0x", up to
    // the first other character; wraps modulo 2^32 so that "0xFFFFFFFF" reads as -1. A missing
    // key or an empty value gives fallback; text that does not start with a number gives 0.
    qint32 intValue(const QString &section, const QString &key, qint32 fallback) const;

    // Replaces an existing key where it stands, adds a new key at the end of its section and a
    // new section at the end of the file. CR and LF in the value are written as blanks. A key
    // that already reads as the value is left as it is, bytes and all.
    void setValue(const QString &section, const QString &key, const QString &value);

    // The file's bytes. When they are UTF-8 because of a value, *utf8Character is the first
    // character that code page 932 cannot hold (empty otherwise).
    QByteArray toBytes(QString *utf8Character = nullptr) const;

    // Writes the whole file atomically: on failure the file on disk is unchanged, false is
    // returned and *error says why. *utf8Character as for toBytes().
    bool save(const QString &path, QString *error = nullptr,
              QString *utf8Character = nullptr) const;

    // The encoding the file was read in.
    Encoding encoding() const { return m_encoding; }
    bool usesCrLf() const { return m_crlf; }

    static qint32 parseInt(QStringView text, qint32 fallback);

private:
    struct Line
    {
        QByteArray raw;      // the bytes as read, without the line end; used while !dirty
        QString text;        // the decoded text
        bool decoded = true; // raw is text of the file's encoding (false: text lost bytes)
        bool dirty = false;
        QByteArray end; // "\r\n" or "\n"; "\r" or empty for a last line without a line feed
                        // (one byte a character, whatever the encoding)
    };

    QByteArray lineEnd() const;
    void appendLine(Line line);

    int findSection(const QString &section) const;
    int findKey(int sectionLine, const QString &key) const;
    int sectionEnd(int sectionLine) const;
    static bool isSectionLine(const QString &text, QString *name = nullptr);
    static bool splitKeyLine(const QString &text, QString *key, QString *value);

    QList<Line> m_lines;
    Encoding m_encoding = Encoding::Cp932;
    bool m_crlf = true; // the line end of new lines, as the file's first line has it
};
