#include "TemplateFile.h"

#include "ProfileFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

const QString kFrame = QStringLiteral("Frame");
const QString kPhotoSize = QStringLiteral("PhotoSize");
const QString kBackground = QStringLiteral("Background");
const QString kBorderColor = QStringLiteral("BorderColor");
const QString kBorderWidth = QStringLiteral("BorderWidth");
const QString kData = QStringLiteral("Data");
const QString kFontName = QStringLiteral("FontName");
const QString kFontSize = QStringLiteral("FontSize");
const QString kFontColor = QStringLiteral("FontColor");
const QString kFontBold = QStringLiteral("FontBold");
const QString kFontItalic = QStringLiteral("FontItalic");
const QString kFontStrikethru = QStringLiteral("FontStrikethru");
const QString kFontUnderline = QStringLiteral("FontUnderline");
const QString kFontAlign = QStringLiteral("FontAlign");
const QString kMonth = QStringLiteral("Month");
const QString kDay = QStringLiteral("Day");
const QString kYear = QStringLiteral("Year");
const QString kTime = QStringLiteral("Time");
const QString kSubframes = QStringLiteral("Subframes");
const QString kFolder = QStringLiteral("Folder");
const QString kSky = QStringLiteral("Sky");
const QString kOverlay = QStringLiteral("Overlay");
const QString kCorner = QStringLiteral("Corner");
const QString kCompass = QStringLiteral("Compass");
const QString kScaleBar = QStringLiteral("ScaleBar");
const QString kLabels = QStringLiteral("Labels");
const QString kColor = QStringLiteral("Color");
const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

const QString kDefaultFontName = QStringLiteral("ＭＳ ゴシック");
constexpr qint32 kDefaultBorderColor = 0xFFFFFF;
constexpr qint32 kDefaultBorderWidth = 1;
constexpr qint32 kDefaultFontSize = 10;
constexpr qint32 kDefaultFontColor = 0xFFFFFF;

QString itemSection(int index)
{
    return QStringLiteral("Header-%1").arg(index);
}

QString dateSection()
{
    return itemSection(1);
}

bool isFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace

TemplateItem &TemplateFile::item(int index)
{
    if (index < 0 || index >= ItemCount)
        throw std::out_of_range("template item index out of range");
    return m_items[size_t(index)];
}

const TemplateItem &TemplateFile::item(int index) const
{
    if (index < 0 || index >= ItemCount)
        throw std::out_of_range("template item index out of range");
    return m_items[size_t(index)];
}

QString TemplateFile::toHexString(qint32 value)
{
    return QStringLiteral("0x") + QString::number(quint32(value), 16).toUpper();
}

bool TemplateFile::parseBoolean(const QString &text, bool *ok)
{
    *ok = true;
    if (QString::compare(text, kTrue, Qt::CaseInsensitive) == 0)
        return true;
    if (QString::compare(text, kFalse, Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = text.trimmed().toDouble(&isNumber);
    if (isNumber && std::isfinite(number))
        return number != 0.0;
    *ok = false;
    return false;
}

bool TemplateFile::load(const QString &path)
{
    m_error.clear();
    if (!isFile(path)) {
        m_error =
            QCoreApplication::translate("TemplateFile", "ファイル %1 がありません。").arg(path);
        return false;
    }
    ProfileFile file;
    if (!file.load(path, &m_error))
        return false;
    return readFrom(file);
}

bool TemplateFile::readFrom(const ProfileFile &file)
{
    m_frameSize = file.value(kFrame, kPhotoSize, QString());
    m_backColor = file.intValue(kFrame, kBackground, 0);
    m_borderColor = file.intValue(kFrame, kBorderColor, kDefaultBorderColor);
    m_borderWidth = file.intValue(kFrame, kBorderWidth, kDefaultBorderWidth);

    for (int i = 0; i < ItemCount; ++i) {
        const QString section = itemSection(i);
        TemplateItem &it = m_items[size_t(i)];
        it.data = file.value(section, kData, QString());
        it.fontName = file.value(section, kFontName, kDefaultFontName);
        it.fontSize = file.intValue(section, kFontSize, kDefaultFontSize);
        it.fontColor = file.intValue(section, kFontColor, kDefaultFontColor);
        // Values read before a bad flag stay in the object, as the caller discards it anyway.
        const std::pair<const QString &, bool TemplateItem::*> flags[] = {
            {kFontBold, &TemplateItem::fontBold},
            {kFontItalic, &TemplateItem::fontItalic},
            {kFontStrikethru, &TemplateItem::fontStrikethru},
            {kFontUnderline, &TemplateItem::fontUnderline},
        };
        for (const auto &[key, member] : flags) {
            const QString text = file.value(section, key, kFalse);
            bool ok = false;
            const bool flag = parseBoolean(text, &ok);
            if (!ok) {
                m_error = QCoreApplication::translate(
                              "TemplateFile", "[%1] %2 の値 \"%3\" は True/False ではありません。")
                              .arg(section, key, text);
                return false;
            }
            it.*member = flag;
        }
        it.fontAlign = file.intValue(section, kFontAlign, 0);
    }

    m_month = file.intValue(dateSection(), kMonth, 0);
    m_day = file.intValue(dateSection(), kDay, 0);
    m_year = file.value(dateSection(), kYear, QString());
    m_time = file.value(dateSection(), kTime, QString());
    m_subframeFolder = file.value(kSubframes, kFolder, QString());
    // The overlay's flags read leniently: a value that is not a flag leaves the default.
    const TemplateSky none;
    const auto flag = [&file](const QString &key, bool fallback) {
        bool ok = false;
        const bool v = parseBoolean(file.value(kSky, key, QString()), &ok);
        return ok ? v : fallback;
    };
    m_sky.overlay = flag(kOverlay, none.overlay);
    m_sky.corner = std::clamp(file.intValue(kSky, kCorner, none.corner), 0, 3);
    m_sky.compass = flag(kCompass, none.compass);
    m_sky.scaleBar = flag(kScaleBar, none.scaleBar);
    m_sky.labels = flag(kLabels, none.labels);
    m_sky.fontName = file.value(kSky, kFontName, none.fontName);
    m_sky.fontSize = file.intValue(kSky, kFontSize, none.fontSize);
    m_sky.color = file.intValue(kSky, kColor, none.color);
    return true;
}

bool TemplateFile::save(const QString &path, bool overwrite)
{
    m_error.clear();
    m_utf8Character.clear();
    if (isFile(path) && !overwrite) {
        m_error =
            QCoreApplication::translate("TemplateFile", "ファイル %1 は既にあります。").arg(path);
        return false;
    }
    ProfileFile file;
    // An existing template keeps its other sections and keys.
    if (!file.load(path, &m_error))
        return false;

    writeTo(file);
    return file.save(path, &m_error, &m_utf8Character);
}

void TemplateFile::writeTo(ProfileFile &file) const
{
    auto boolText = [](bool v) { return v ? kTrue : kFalse; };
    file.setValue(kFrame, kPhotoSize, m_frameSize);
    file.setValue(kFrame, kBackground, toHexString(m_backColor));
    file.setValue(kFrame, kBorderColor, toHexString(m_borderColor));
    file.setValue(kFrame, kBorderWidth, QString::number(m_borderWidth));
    for (int i = 0; i < ItemCount; ++i) {
        const QString section = itemSection(i);
        const TemplateItem &it = m_items[size_t(i)];
        file.setValue(section, kData, it.data);
        file.setValue(section, kFontName, it.fontName);
        file.setValue(section, kFontSize, QString::number(it.fontSize));
        file.setValue(section, kFontColor, toHexString(it.fontColor));
        file.setValue(section, kFontBold, boolText(it.fontBold));
        file.setValue(section, kFontItalic, boolText(it.fontItalic));
        file.setValue(section, kFontStrikethru, boolText(it.fontStrikethru));
        file.setValue(section, kFontUnderline, boolText(it.fontUnderline));
        file.setValue(section, kFontAlign, QString::number(it.fontAlign));
        if (i == 1) {
            file.setValue(section, kMonth, QString::number(m_month));
            file.setValue(section, kDay, QString::number(m_day));
            file.setValue(section, kYear, m_year);
            file.setValue(section, kTime, m_time);
        }
    }
    // A section of its own, which readers that do not know it skip.
    if (!m_subframeFolder.isEmpty() || file.hasKey(kSubframes, kFolder))
        file.setValue(kSubframes, kFolder, m_subframeFolder);
    // The overlay likewise: written when on, or to turn off one the file holds.
    if (m_sky.overlay || file.hasKey(kSky, kOverlay)) {
        file.setValue(kSky, kOverlay, boolText(m_sky.overlay));
        file.setValue(kSky, kCorner, QString::number(m_sky.corner));
        file.setValue(kSky, kCompass, boolText(m_sky.compass));
        file.setValue(kSky, kScaleBar, boolText(m_sky.scaleBar));
        file.setValue(kSky, kLabels, boolText(m_sky.labels));
        file.setValue(kSky, kFontName, m_sky.fontName);
        file.setValue(kSky, kFontSize, QString::number(m_sky.fontSize));
        file.setValue(kSky, kColor, toHexString(m_sky.color));
    }
}

const QList<TemplateFile::ValueName> &TemplateFile::valueNames()
{
    static const QList<ValueName> names = [] {
        using K = ValueKind;
        QList<ValueName> n{{kFrame, kPhotoSize, K::Text},
                           {kFrame, kBackground, K::Colour},
                           {kFrame, kBorderColor, K::Colour},
                           {kFrame, kBorderWidth, K::Integer}};
        for (int i = 0; i < ItemCount; ++i) {
            const QString section = itemSection(i);
            n << ValueName{section, kData, K::Text} << ValueName{section, kFontName, K::Text}
              << ValueName{section, kFontSize, K::Integer}
              << ValueName{section, kFontColor, K::Colour};
            for (const QString &flag : {kFontBold, kFontItalic, kFontStrikethru, kFontUnderline})
                n << ValueName{section, flag, K::Boolean};
            n << ValueName{section, kFontAlign, K::Integer};
            if (i == 1) {
                n << ValueName{section, kMonth, K::Integer} << ValueName{section, kDay, K::Integer}
                  << ValueName{section, kYear, K::Text} << ValueName{section, kTime, K::Text};
            }
        }
        const std::pair<QString, K> sky[] = {{kOverlay, K::Boolean},  {kCorner, K::Integer},
                                             {kCompass, K::Boolean},  {kScaleBar, K::Boolean},
                                             {kLabels, K::Boolean},   {kFontName, K::Text},
                                             {kFontSize, K::Integer}, {kColor, K::Colour}};
        for (const auto &[key, kind] : sky)
            n << ValueName{kSky, key, kind};
        return n;
    }();
    return names;
}
