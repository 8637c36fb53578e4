#pragma once

#include <QList>
#include <QString>
#include <array>

class ProfileFile;

// One text item of a template.
struct TemplateItem
{
    QString data;
    QString fontName;
    qint32 fontSize = 0;
    qint32 fontColor = 0;
    bool fontBold = false;
    bool fontItalic = false;
    bool fontStrikethru = false;
    bool fontUnderline = false;
    qint32 fontAlign = 0;
};

// The sky overlay of a template ([Sky]): a north/east compass and a scale bar in a corner of the
// photo and the names of the catalogue objects in the field, drawn on a solved photo. Off by
// default; a template without the section reads as off and one saved with it off and without
// the section in the file gets none.
struct TemplateSky
{
    enum Corner
    {
        TopLeft = 0,
        TopRight = 1,
        BottomLeft = 2,
        BottomRight = 3,
    };

    bool overlay = false;
    qint32 corner = BottomRight;
    bool compass = true;
    bool scaleBar = true;
    bool labels = true;
    QString fontName; // empty: the first text item's font
    qint32 fontSize = 9;
    qint32 color = 0xFFFFFF; // 0x00BBGGRR

    friend bool operator==(const TemplateSky &, const TemplateSky &) = default;
};

// One template (".kvl" file) in memory: the frame, five text items and the date and time fields.
// Each property is a read and a write operation of the same name; the indexed ones throw
// std::out_of_range for an index outside 0 to 4 and change nothing.
class TemplateFile
{
public:
    static constexpr int ItemCount = 5;

    QString frameSize() const { return m_frameSize; }
    void setFrameSize(const QString &v) { m_frameSize = v; }
    qint32 backColor() const { return m_backColor; }
    void setBackColor(qint32 v) { m_backColor = v; }
    qint32 borderColor() const { return m_borderColor; }
    void setBorderColor(qint32 v) { m_borderColor = v; }
    qint32 borderWidth() const { return m_borderWidth; }
    void setBorderWidth(qint32 v) { m_borderWidth = v; }
    qint32 month() const { return m_month; }
    void setMonth(qint32 v) { m_month = v; }
    qint32 day() const { return m_day; }
    void setDay(qint32 v) { m_day = v; }
    QString year() const { return m_year; }
    void setYear(const QString &v) { m_year = v; }
    QString time() const { return m_time; }
    void setTime(const QString &v) { m_time = v; }
    // The folder of the sub-frames whose summary the fill puts into the captions ([Subframes]
    // Folder); empty for none. Written only when set, or to clear a folder the file holds.
    QString subframeFolder() const { return m_subframeFolder; }
    void setSubframeFolder(const QString &v) { m_subframeFolder = v; }

    const TemplateSky &sky() const { return m_sky; }
    void setSky(const TemplateSky &v) { m_sky = v; }

    QString data(int index) const { return item(index).data; }
    void setData(int index, const QString &v) { item(index).data = v; }
    QString fontName(int index) const { return item(index).fontName; }
    void setFontName(int index, const QString &v) { item(index).fontName = v; }
    qint32 fontSize(int index) const { return item(index).fontSize; }
    void setFontSize(int index, qint32 v) { item(index).fontSize = v; }
    qint32 fontColor(int index) const { return item(index).fontColor; }
    void setFontColor(int index, qint32 v) { item(index).fontColor = v; }
    bool fontBold(int index) const { return item(index).fontBold; }
    void setFontBold(int index, bool v) { item(index).fontBold = v; }
    bool fontItalic(int index) const { return item(index).fontItalic; }
    void setFontItalic(int index, bool v) { item(index).fontItalic = v; }
    bool fontStrikethru(int index) const { return item(index).fontStrikethru; }
    void setFontStrikethru(int index, bool v) { item(index).fontStrikethru = v; }
    bool fontUnderline(int index) const { return item(index).fontUnderline; }
    void setFontUnderline(int index, bool v) { item(index).fontUnderline = v; }
    qint32 fontAlign(int index) const { return item(index).fontAlign; }
    void setFontAlign(int index, qint32 v) { item(index).fontAlign = v; }

    // True when the template was read. False when no file exists at the path, when it cannot be
    // read, or when a style flag holds neither True/False nor a number (errorString() says which).
    bool load(const QString &path);

    // False without writing when a file exists and overwrite is false; false with errorString() set
    // and the file unchanged when the write fails.
    bool save(const QString &path, bool overwrite);

    QString errorString() const { return m_error; }
    // After a save written as UTF-8 (which readers of code page 932 files cannot read): the first
    // character that needed it. Empty after a save in code page 932.
    QString utf8Character() const { return m_utf8Character; }

    // The template as the lines of a profile file, and back; load and save go through
    // these. readFrom fails like load on a bad style flag.
    bool readFrom(const ProfileFile &file);
    void writeTo(ProfileFile &file) const;

    // Every value by section and key, in the order save writes them, with the kind of text
    // it holds. name() is "Section.Key", as scripts give it ("Frame.BorderWidth").
    enum class ValueKind
    {
        Text,
        Integer,
        Colour, // toHexString or decimal
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

    static QString toHexString(qint32 value);

    // "True"/"False" in any case, or a number (zero false); anything else fails.
    static bool parseBoolean(const QString &text, bool *ok);

private:
    TemplateItem &item(int index);
    const TemplateItem &item(int index) const;

    QString m_frameSize;
    qint32 m_backColor = 0;
    qint32 m_borderColor = 0;
    qint32 m_borderWidth = 0;
    std::array<TemplateItem, ItemCount> m_items;
    qint32 m_month = 0;
    qint32 m_day = 0;
    QString m_year;
    QString m_time;
    QString m_subframeFolder;
    TemplateSky m_sky;
    QString m_error;
    QString m_utf8Character;
};
