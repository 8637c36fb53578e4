#pragma once

#include <QSize>
#include <QString>

#include <array>

// The program's preferences, kept in "nolt.ini": read once at start-up, written once at exit.
class AppSettings
{
public:
    // The folder is the default for the three path properties; twips per pixel give the default
    // window size (640 x 480 pixels).
    AppSettings(const QString &programFolder, double twipsPerPixelX, double twipsPerPixelY);
    // The same with another default for loadPath and savePath.
    AppSettings(const QString &programFolder, const QString &pictureFolder, double twipsPerPixelX,
                double twipsPerPixelY);

    // The window's rectangle restored at start-up ("Savepos").
    bool keepWindowGeometry() const { return m_keepWindowGeometry != 0; }
    void setKeepWindowGeometry(bool v) { m_keepWindowGeometry = v ? 1 : 0; }
    qint32 x() const { return m_x; }
    void setX(qint32 v) { m_x = v; }
    qint32 y() const { return m_y; }
    void setY(qint32 v) { m_y = v; }
    qint32 width() const { return m_width; }
    void setWidth(qint32 v) { m_width = v; }
    qint32 height() const { return m_height; }
    void setHeight(qint32 v) { m_height = v; }
    qint32 dateFormat() const { return m_dateFormat; }
    void setDateFormat(qint32 v) { m_dateFormat = v; }
    qint32 delimiterFormat() const { return m_delimiterFormat; }
    void setDelimiterFormat(qint32 v) { m_delimiterFormat = v; }
    // cboMonth lists "Jan".."Dec" instead of "01".."12" ("ENGMONTH").
    bool englishMonths() const { return m_englishMonths != 0; }
    void setEnglishMonths(bool v) { m_englishMonths = v ? 1 : 0; }
    qint32 marginFontVBorder() const { return m_marginFontVBorder; }
    void setMarginFontVBorder(qint32 v) { m_marginFontVBorder = v; }
    qint32 marginFontHBorder() const { return m_marginFontHBorder; }
    void setMarginFontHBorder(qint32 v) { m_marginFontHBorder = v; }
    qint32 marginFrameHBorder() const { return m_marginFrameHBorder; }
    void setMarginFrameHBorder(qint32 v) { m_marginFrameHBorder = v; }
    qint32 marginFontVFrame() const { return m_marginFontVFrame; }
    void setMarginFontVFrame(qint32 v) { m_marginFontVFrame = v; }
    qint32 jpegQuality() const { return m_jpegQuality; }
    void setJpegQuality(qint32 v) { m_jpegQuality = v; }
    qint32 jpegType() const { return m_jpegType; }
    void setJpegType(qint32 v) { m_jpegType = v; }
    QString loadPath() const { return m_loadPath; }
    void setLoadPath(const QString &v) { m_loadPath = v; }
    QString savePath() const { return m_savePath; }
    void setSavePath(const QString &v) { m_savePath = v; }
    QString templatePath() const { return m_templatePath; }
    void setTemplatePath(const QString &v) { m_templatePath = v; }

    // The two flags as the file holds them: the settings dialog keeps a number other than 0 and 1
    // until the user decides.
    qint32 keepWindowGeometryValue() const { return m_keepWindowGeometry; }
    void setKeepWindowGeometryValue(qint32 v) { m_keepWindowGeometry = v; }
    qint32 englishMonthsValue() const { return m_englishMonths; }
    void setEnglishMonthsValue(qint32 v) { m_englishMonths = v; }

    // Preferences beyond the seventeen above. Each is written only when it differs from its
    // default or the file already holds it, so the file of a user who never changes them keeps
    // exactly the seventeen entries.
    // The display stretch of FITS data as the file holds it: 0 automatic, 1 linear, 2 none
    // (PhotoOptions::Stretch).
    qint32 photoStretch() const { return m_photoStretch; }
    void setPhotoStretch(qint32 v) { m_photoStretch = v; }
    // Photos larger than the box are shrunk to fit it when on.
    bool shrinkLarge() const { return m_shrinkLarge != 0; }
    void setShrinkLarge(bool v) { m_shrinkLarge = v ? 1 : 0; }
    QSize shrinkBox() const { return QSize(m_shrinkWidth, m_shrinkHeight); }
    void setShrinkBox(QSize v) { m_shrinkWidth = v.width(), m_shrinkHeight = v.height(); }
    // The three footer line patterns of the fill from the photo's data, and whether a photo
    // load runs the fill.
    static constexpr int CaptionPatternCount = 3;
    QString captionPattern(int line) const { return m_captionPatterns.at(line); }
    void setCaptionPattern(int line, const QString &v) { m_captionPatterns[line] = v; }
    static QString defaultCaptionPattern(int line);
    bool fillOnLoad() const { return m_fillOnLoad != 0; }
    void setFillOnLoad(bool v) { m_fillOnLoad = v ? 1 : 0; }
    // The preview scaled down to the window, and a composition after every edit.
    bool fitWindow() const { return m_fitWindow != 0; }
    void setFitWindow(bool v) { m_fitWindow = v ? 1 : 0; }
    bool livePreview() const { return m_livePreview != 0; }
    void setLivePreview(bool v) { m_livePreview = v ? 1 : 0; }
    // PNG and JPEG pictures carry their caption, date and sky position (XMP) and an sRGB
    // profile; BMP never does. On unless the file says otherwise.
    bool saveMetadata() const { return m_saveMetadata != 0; }
    void setSaveMetadata(bool v) { m_saveMetadata = v ? 1 : 0; }
    // The language of the window, applied at the next start.
    // The fill solves the photo's field with astrometry.net ("写野を解析する") and waits at
    // most solveTimeout() seconds for it.
    bool solveField() const { return m_solveField != 0; }
    void setSolveField(bool v) { m_solveField = v ? 1 : 0; }
    qint32 solveTimeout() const { return m_solveTimeout; }
    void setSolveTimeout(qint32 v) { m_solveTimeout = v; }
    enum class Language
    {
        Japanese = 0,
        English = 1
    };
    Language language() const { return Language(m_language); }
    void setLanguage(Language v) { m_language = qint32(v); }

    // Reads every value; a missing file, section or key gives the default. Returns false only
    // when the file exists but cannot be read (the defaults are then in place).
    bool load(const QString &path);

    // Writes the seventeen entries into the file, keeping every other line. Returns false, with
    // errorString() set and the file unchanged, when the write fails.
    bool save(const QString &path);

    QString errorString() const { return m_error; }

    static constexpr const char *FileName = "nolt.ini";

private:
    friend struct SettingsFileLayout;

    QString m_programFolder;
    QString m_pictureFolder;
    double m_twipsPerPixelX;
    double m_twipsPerPixelY;
    QString m_error;

    qint32 m_keepWindowGeometry = 0;
    qint32 m_x = 0;
    qint32 m_y = 0;
    qint32 m_width = 0;
    qint32 m_height = 0;
    qint32 m_dateFormat = 0;
    qint32 m_delimiterFormat = 0;
    qint32 m_englishMonths = 0;
    qint32 m_marginFontVBorder = 0;
    qint32 m_marginFontHBorder = 0;
    qint32 m_marginFrameHBorder = 0;
    qint32 m_marginFontVFrame = 0;
    qint32 m_jpegQuality = 0;
    qint32 m_jpegType = 0;
    QString m_loadPath;
    QString m_savePath;
    QString m_templatePath;

    qint32 m_photoStretch = 0;
    qint32 m_shrinkLarge = 0;
    qint32 m_shrinkWidth = 0;
    qint32 m_shrinkHeight = 0;
    std::array<QString, CaptionPatternCount> m_captionPatterns;
    qint32 m_fillOnLoad = 0;
    qint32 m_fitWindow = 0;
    qint32 m_livePreview = 0;
    qint32 m_language = 0;
    qint32 m_saveMetadata = 1;
    qint32 m_solveField = 0;
    qint32 m_solveTimeout = 60;
};
