#pragma once

#include <QString>

// The program's preferences, kept in "nolt.ini": read once at start-up, written once at exit.
// Each property is a read and a write operation of the same name.
class clsNoltIO
{
public:
    // The folder is the default for the three path properties; twips per pixel give the default
    // window size (640 x 480 pixels).
    clsNoltIO(const QString &programFolder, double twipsPerPixelX, double twipsPerPixelY);

    qint32 SavePosition() const { return m_savePosition; }
    void SavePosition(qint32 v) { m_savePosition = v; }
    qint32 X() const { return m_x; }
    void X(qint32 v) { m_x = v; }
    qint32 Y() const { return m_y; }
    void Y(qint32 v) { m_y = v; }
    qint32 Width() const { return m_width; }
    void Width(qint32 v) { m_width = v; }
    qint32 Height() const { return m_height; }
    void Height(qint32 v) { m_height = v; }
    qint32 DateFormat() const { return m_dateFormat; }
    void DateFormat(qint32 v) { m_dateFormat = v; }
    qint32 DelimiterFormat() const { return m_delimiterFormat; }
    void DelimiterFormat(qint32 v) { m_delimiterFormat = v; }
    qint32 ThreeCharMonth() const { return m_threeCharMonth; }
    void ThreeCharMonth(qint32 v) { m_threeCharMonth = v; }
    qint32 MarginFontVBorder() const { return m_marginFontVBorder; }
    void MarginFontVBorder(qint32 v) { m_marginFontVBorder = v; }
    qint32 MarginFontHBorder() const { return m_marginFontHBorder; }
    void MarginFontHBorder(qint32 v) { m_marginFontHBorder = v; }
    qint32 MarginFrameHBorder() const { return m_marginFrameHBorder; }
    void MarginFrameHBorder(qint32 v) { m_marginFrameHBorder = v; }
    qint32 MarginFontVFrame() const { return m_marginFontVFrame; }
    void MarginFontVFrame(qint32 v) { m_marginFontVFrame = v; }
    qint32 JpegQuality() const { return m_jpegQuality; }
    void JpegQuality(qint32 v) { m_jpegQuality = v; }
    qint32 JpegType() const { return m_jpegType; }
    void JpegType(qint32 v) { m_jpegType = v; }
    QString LoadPath() const { return m_loadPath; }
    void LoadPath(const QString &v) { m_loadPath = v; }
    QString SavePath() const { return m_savePath; }
    void SavePath(const QString &v) { m_savePath = v; }
    QString TemplatePath() const { return m_templatePath; }
    void TemplatePath(const QString &v) { m_templatePath = v; }

    // Reads every value; a missing file, section or key gives the default. Returns false only
    // when the file exists but cannot be read (the defaults are then in place).
    bool OpenFile(const QString &szFile);

    // Writes the seventeen entries into the file, keeping every other line. Returns false, with
    // errorString() set and the file unchanged, when the write fails.
    bool SaveFile(const QString &szFile);

    QString errorString() const { return m_error; }

    static constexpr const char *FileName = "nolt.ini";

private:
    friend struct NoltLayout;

    QString m_programFolder;
    double m_twipsPerPixelX;
    double m_twipsPerPixelY;
    QString m_error;

    qint32 m_savePosition = 0;
    qint32 m_x = 0;
    qint32 m_y = 0;
    qint32 m_width = 0;
    qint32 m_height = 0;
    qint32 m_dateFormat = 0;
    qint32 m_delimiterFormat = 0;
    qint32 m_threeCharMonth = 0;
    qint32 m_marginFontVBorder = 0;
    qint32 m_marginFontHBorder = 0;
    qint32 m_marginFrameHBorder = 0;
    qint32 m_marginFontVFrame = 0;
    qint32 m_jpegQuality = 0;
    qint32 m_jpegType = 0;
    QString m_loadPath;
    QString m_savePath;
    QString m_templatePath;
};
