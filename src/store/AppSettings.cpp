#include "AppSettings.h"

#include "ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <array>
#include <cmath>

namespace {

const QString kCommon = QStringLiteral("Common");
const QString kMargin = QStringLiteral("Margin");
const QString kJpeg = QStringLiteral("Jpeg");
const QString kPhoto = QStringLiteral("Photo");
const QString kCaption = QStringLiteral("Caption");
const QString kView = QStringLiteral("View");
const QString kSave = QStringLiteral("Save");
const QString kSky = QStringLiteral("Sky");

enum class Default
{
    Zero,
    WidthTwips,
    HeightTwips,
    Margin10,
    Margin20,
    Margin5,
    Quality80
};

struct IntEntry
{
    const QString &section;
    const char *key;
    qint32 AppSettings::*member;
    Default fallback;
};

struct TextEntry
{
    const QString &section;
    const char *key;
    QString AppSettings::*member;
};

// A preference beyond the seventeen: written only when it is not its default or the file has it.
struct ExtraIntEntry
{
    const QString &section;
    const char *key;
    qint32 AppSettings::*member;
    qint32 fallback;
};

} // namespace

// The entries in file order; load reads and save writes them in this order.
struct SettingsFileLayout
{
    static constexpr int IntCountCommon = 8;

    static const IntEntry *ints()
    {
        static const IntEntry entries[] = {
            {kCommon, "Savepos", &AppSettings::m_keepWindowGeometry, Default::Zero},
            {kCommon, "x", &AppSettings::m_x, Default::Zero},
            {kCommon, "y", &AppSettings::m_y, Default::Zero},
            {kCommon, "width", &AppSettings::m_width, Default::WidthTwips},
            {kCommon, "height", &AppSettings::m_height, Default::HeightTwips},
            {kCommon, "DateFormat", &AppSettings::m_dateFormat, Default::Zero},
            {kCommon, "DelimFormat", &AppSettings::m_delimiterFormat, Default::Zero},
            {kCommon, "ENGMONTH", &AppSettings::m_englishMonths, Default::Zero},
            {kMargin, "FontVerticalBorder", &AppSettings::m_marginFontVBorder, Default::Margin10},
            {kMargin, "FontHorizonBorder", &AppSettings::m_marginFontHBorder, Default::Margin10},
            {kMargin, "FrameHorizonBorder", &AppSettings::m_marginFrameHBorder, Default::Margin20},
            {kMargin, "FontVerticalFrame", &AppSettings::m_marginFontVFrame, Default::Margin5},
            {kJpeg, "Quality", &AppSettings::m_jpegQuality, Default::Quality80},
            {kJpeg, "Type", &AppSettings::m_jpegType, Default::Zero},
        };
        return entries;
    }
    static constexpr int IntCount = 14;

    static const TextEntry *texts()
    {
        static const TextEntry entries[] = {
            {kCommon, "LoadPath", &AppSettings::m_loadPath},
            {kCommon, "SavePath", &AppSettings::m_savePath},
            {kCommon, "TemplatePath", &AppSettings::m_templatePath},
        };
        return entries;
    }
    static constexpr int TextCount = 3;

    static const std::array<ExtraIntEntry, 11> &extraInts()
    {
        static const std::array<ExtraIntEntry, 11> entries{{
            {kPhoto, "Stretch", &AppSettings::m_photoStretch, 0},
            {kPhoto, "Shrink", &AppSettings::m_shrinkLarge, 0},
            {kPhoto, "ShrinkWidth", &AppSettings::m_shrinkWidth, 1600},
            {kPhoto, "ShrinkHeight", &AppSettings::m_shrinkHeight, 1200},
            {kCaption, "FillOnLoad", &AppSettings::m_fillOnLoad, 0},
            {kView, "FitWindow", &AppSettings::m_fitWindow, 0},
            {kView, "LivePreview", &AppSettings::m_livePreview, 0},
            {kView, "Language", &AppSettings::m_language, 0},
            {kSky, "SolveField", &AppSettings::m_solveField, 0},
            {kSky, "SolveTimeout", &AppSettings::m_solveTimeout, 60},
            {kSave, "Metadata", &AppSettings::m_saveMetadata, 1},
        }};
        return entries;
    }

    static QString captionKey(int line) { return QStringLiteral("Line%1").arg(line + 1); }
};

QString AppSettings::defaultCaptionPattern(int line)
{
    // Equipment, exposure, filter and observer; a FITS file fills the FITS keys, a camera photo
    // the EXIF ones, and a part in brackets drops out with its missing value. The words follow
    // the language of the texts.
    static const char *const patterns[CaptionPatternCount] = {
        QT_TRANSLATE_NOOP("AppSettings", "[{TELESCOP} + ]{INSTRUME}[{LensModel} + ]{Model}"
                                         "[ (f={FOCALLEN}mm)][ (f={FocalLength}mm)]"),
        QT_TRANSLATE_NOOP("AppSettings",
                          "[{EXPTIME}秒][ x {STACKCNT}枚 (計 {TOTAL})][ Gain {GAIN}][ {CCD-TEMP}℃]"
                          "[{ExposureTime}秒][ F{FNumber}][ ISO{ISO}]"),
        QT_TRANSLATE_NOOP("AppSettings",
                          "[フィルター: {FILTER}  ][撮影: {OBSERVER}][撮影: {Artist}]"),
    };
    return QCoreApplication::translate("AppSettings", patterns[line]);
}

AppSettings::AppSettings(const QString &programFolder, double twipsPerPixelX, double twipsPerPixelY)
    : AppSettings(programFolder, programFolder, twipsPerPixelX, twipsPerPixelY)
{}

AppSettings::AppSettings(const QString &programFolder, const QString &pictureFolder,
                         double twipsPerPixelX, double twipsPerPixelY)
    : m_programFolder(programFolder), m_pictureFolder(pictureFolder),
      m_twipsPerPixelX(twipsPerPixelX), m_twipsPerPixelY(twipsPerPixelY)
{}

bool AppSettings::load(const QString &path)
{
    ProfileFile file;
    m_error.clear();
    const bool readable = file.load(path, &m_error);

    auto fallback = [this](Default d) -> qint32 {
        switch (d) {
        case Default::Zero:
            return 0;
        case Default::WidthTwips:
            return qint32(std::nearbyint(640.0 * m_twipsPerPixelX));
        case Default::HeightTwips:
            return qint32(std::nearbyint(480.0 * m_twipsPerPixelY));
        case Default::Margin10:
            return 10;
        case Default::Margin20:
            return 20;
        case Default::Margin5:
            return 5;
        case Default::Quality80:
            return 80;
        }
        return 0;
    };
    for (int i = 0; i < SettingsFileLayout::IntCount; ++i) {
        const IntEntry &e = SettingsFileLayout::ints()[i];
        this->*e.member = file.intValue(e.section, QLatin1String(e.key), fallback(e.fallback));
    }
    for (int i = 0; i < SettingsFileLayout::TextCount; ++i) {
        const TextEntry &e = SettingsFileLayout::texts()[i];
        const bool pictures = e.member != &AppSettings::m_templatePath;
        this->*e.member = file.value(e.section, QLatin1String(e.key),
                                     pictures ? m_pictureFolder : m_programFolder);
    }
    for (const ExtraIntEntry &e : SettingsFileLayout::extraInts())
        this->*e.member = file.intValue(e.section, QLatin1String(e.key), e.fallback);
    for (int i = 0; i < CaptionPatternCount; ++i)
        m_captionPatterns[i] =
            file.value(kCaption, SettingsFileLayout::captionKey(i), defaultCaptionPattern(i));
    return readable;
}

bool AppSettings::save(const QString &path)
{
    ProfileFile file;
    m_error.clear();
    // The program's own folder: a per-user configuration folder does not exist before the first
    // save.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        m_error = QCoreApplication::translate("AppSettings", "フォルダ %1 を作成できません。")
                      .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Keep whatever else the file holds; refuse to replace a file we could not read.
    if (!file.load(path, &m_error))
        return false;

    const IntEntry *ints = SettingsFileLayout::ints();
    const TextEntry *texts = SettingsFileLayout::texts();
    auto writeInt = [&](const IntEntry &e) {
        file.setValue(e.section, QLatin1String(e.key), QString::number(this->*e.member));
    };
    for (int i = 0; i < SettingsFileLayout::IntCountCommon; ++i)
        writeInt(ints[i]);
    for (int i = 0; i < SettingsFileLayout::TextCount; ++i)
        file.setValue(texts[i].section, QLatin1String(texts[i].key), this->*texts[i].member);
    for (int i = SettingsFileLayout::IntCountCommon; i < SettingsFileLayout::IntCount; ++i)
        writeInt(ints[i]);

    auto writeExtra = [&](const QString &section, const QString &key, const QString &value,
                          const QString &fallback) {
        if (value != fallback || file.hasKey(section, key))
            file.setValue(section, key, value);
    };
    for (const ExtraIntEntry &e : SettingsFileLayout::extraInts())
        writeExtra(e.section, QLatin1String(e.key), QString::number(this->*e.member),
                   QString::number(e.fallback));
    for (int i = 0; i < CaptionPatternCount; ++i)
        writeExtra(kCaption, SettingsFileLayout::captionKey(i), m_captionPatterns[i],
                   defaultCaptionPattern(i));

    return file.save(path, &m_error);
}
