#pragma once

#include <QList>
#include <QString>
#include <array>

class ProfileFile;

// One text item of a template.
struct HeaderItem
{
    QString Data;
    QString FontName;
    qint32 FontSize = 0;
    qint32 FontColor = 0;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontStrikethru = false;
    bool FontUnderline = false;
    qint32 FontAlign = 0;
};

// One template (".kvl" file) in memory: the frame, five text items and the date and time fields.
// Each property is a read and a write operation of the same name; the indexed ones throw
// std::out_of_range for an index outside 0 to 4 and change nothing.
class clsTemplateIO
{
public:
    static constexpr int ItemCount = 5;

    QString FrameSize() const { return m_frameSize; }
    void FrameSize(const QString &v) { m_frameSize = v; }
    qint32 BackColor() const { return m_backColor; }
    void BackColor(qint32 v) { m_backColor = v; }
    qint32 BorderColor() const { return m_borderColor; }
    void BorderColor(qint32 v) { m_borderColor = v; }
    qint32 BorderWidth() const { return m_borderWidth; }
    void BorderWidth(qint32 v) { m_borderWidth = v; }
    qint32 Month() const { return m_month; }
    void Month(qint32 v) { m_month = v; }
    qint32 Day() const { return m_day; }
    void Day(qint32 v) { m_day = v; }
    QString Year() const { return m_year; }
    void Year(const QString &v) { m_year = v; }
    QString Time() const { return m_time; }
    void Time(const QString &v) { m_time = v; }

    QString Data(int index) const { return item(index).Data; }
    void Data(int index, const QString &v) { item(index).Data = v; }
    QString FontName(int index) const { return item(index).FontName; }
    void FontName(int index, const QString &v) { item(index).FontName = v; }
    qint32 FontSize(int index) const { return item(index).FontSize; }
    void FontSize(int index, qint32 v) { item(index).FontSize = v; }
    qint32 FontColor(int index) const { return item(index).FontColor; }
    void FontColor(int index, qint32 v) { item(index).FontColor = v; }
    bool FontBold(int index) const { return item(index).FontBold; }
    void FontBold(int index, bool v) { item(index).FontBold = v; }
    bool FontItalic(int index) const { return item(index).FontItalic; }
    void FontItalic(int index, bool v) { item(index).FontItalic = v; }
    bool FontStrikethru(int index) const { return item(index).FontStrikethru; }
    void FontStrikethru(int index, bool v) { item(index).FontStrikethru = v; }
    bool FontUnderline(int index) const { return item(index).FontUnderline; }
    void FontUnderline(int index, bool v) { item(index).FontUnderline = v; }
    qint32 FontAlign(int index) const { return item(index).FontAlign; }
    void FontAlign(int index, qint32 v) { item(index).FontAlign = v; }

    // True when the template was read. False when no file exists at the path, when it cannot be
    // read, or when a style flag holds neither True/False nor a number (errorString() says which).
    bool OpenFile(const QString &szFile);

    // False without writing when a file exists and owFlg is false; false with errorString() set
    // and the file unchanged when the write fails.
    bool SaveFile(const QString &szFile, bool owFlg);

    QString errorString() const { return m_error; }
    // After a save written as UTF-8 (which readers of code page 932 files cannot read): the first
    // character that needed it. Empty after a save in code page 932.
    QString utf8Character() const { return m_utf8Character; }

    // The template as the lines of a profile file, and back; OpenFile and SaveFile go through
    // these. readFrom fails like OpenFile on a bad style flag.
    bool readFrom(const ProfileFile &file);
    void writeTo(ProfileFile &file) const;

    // Every value by section and key, in the order SaveFile writes them, with the kind of text
    // it holds. name() is "Section.Key", as scripts give it ("Frame.BorderWidth").
    enum class ValueKind
    {
        Text,
        Integer,
        Colour, // ToHexString or decimal
        Boolean // "True" or "False"
    };
    struct ValueName
    {
        QString section;
        QString key;
        ValueKind kind;
        QString name() const { return section + QLatin1Char('.') + key; }
    };
    static const QList<ValueName> &valueNames();

    static QString ToHexString(qint32 value);

    // "True"/"False" in any case, or a number (zero false); anything else fails.
    static bool parseBoolean(const QString &text, bool *ok);

private:
    HeaderItem &item(int index);
    const HeaderItem &item(int index) const;

    QString m_frameSize;
    qint32 m_backColor = 0;
    qint32 m_borderColor = 0;
    qint32 m_borderWidth = 0;
    std::array<HeaderItem, ItemCount> m_items;
    qint32 m_month = 0;
    qint32 m_day = 0;
    QString m_year;
    QString m_time;
    QString m_error;
    QString m_utf8Character;
};
