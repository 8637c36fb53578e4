#pragma once

#include "io/SavePicture.h"

#include <QtGlobal>

// Texts of the photo and output commands of the preview window, each in one place. Translated in
// the context "PreviewWindow".
namespace PhotoTexts {

// The open dialog's filter: stored texts joined without anything between them; FITS, TIFF, PNG and
// XISF come before the last.
inline constexpr const char *OpenFilterEntries[] = {
    QT_TRANSLATE_NOOP("PreviewWindow",
                      "画像ﾌｧｲﾙ |*.jpg;*.bmp;*.gif;*.wmf;*.emf;*.jpeg;*.fit;*.fits;"
                      "*.fts;*.tif;*.tiff;*.png;*.xisf|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "Windows / OS/2 ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "JPEG (*.jpg)|*.jpg|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "CompuServe Graphics Interchange (*.gif)|*.gif|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "Windows ﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "Windows ｴﾝﾊﾝｽﾄ ﾒﾀﾌｧｲﾙ (*.emf)|*.emf|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "FITS (*.fit;*.fits;*.fts)|*.fit;*.fits;*.fts|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "TIFF (*.tif;*.tiff)|*.tif;*.tiff|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "PNG (*.png)|*.png|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "XISF (*.xisf)|*.xisf|"),
    QT_TRANSLATE_NOOP("PreviewWindow", "全てのﾌｧｲﾙ (*.*)|*.*"),
};

// The save dialog's filter, entries joined with "|": the entry chosen decides the format of a name
// that does not end in .png, .jpg or .jpeg. BMP comes first and is preselected, with the name
// exactly as typed; a name typed without an extension under PNG or JPEG gets the entry's suffix.
struct SaveEntry
{
    const char *filter;
    SavePicture::Format format;
    const char *suffix;
};
inline constexpr SaveEntry SaveEntries[] = {
    {QT_TRANSLATE_NOOP("PreviewWindow", "BMPﾌｧｲﾙ (*.bmp)|*.bmp"), SavePicture::Format::Bmp, ""},
    {QT_TRANSLATE_NOOP("PreviewWindow", "PNGﾌｧｲﾙ (*.png)|*.png"), SavePicture::Format::Png, "png"},
    {QT_TRANSLATE_NOOP("PreviewWindow", "JPEGﾌｧｲﾙ (*.jpg)|*.jpg"), SavePicture::Format::Jpeg,
     "jpg"},
};

// Extensions of files that may be dropped on the canvas, compared after upper-casing.
inline constexpr const char *PhotoFileExtensions[] = {".BMP",  ".JPG", ".GIF",  ".WMF", ".EMF",
                                                      ".JPEG", ".FIT", ".FITS", ".FTS", ".TIF",
                                                      ".TIFF", ".PNG", ".XISF"};

// Captions of the failures the user must hear about (the texts name the file and the reason).
inline constexpr const char *PhotoFailedCaption =
    QT_TRANSLATE_NOOP("PreviewWindow", "画像の読み込み");
inline constexpr const char *ClipboardFailedCaption =
    QT_TRANSLATE_NOOP("PreviewWindow", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに複写");
inline constexpr const char *ClipboardFailedText = QT_TRANSLATE_NOOP(
    "PreviewWindow", "クリップボードを使えないため、画像を複写できませんでした。");

} // namespace PhotoTexts
