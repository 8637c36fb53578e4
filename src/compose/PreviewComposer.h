#pragma once

#include "ComposeOutcome.h"
#include "FrameRenderer.h"
#include "LayoutMargins.h"
#include "PictureMetadata.h"
#include "SkyOverlay.h"
#include "io/PhotoOptions.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <memory>
#include <optional>

struct FrameDescription;
class TextMeasurer;

// The preview window without its widget: the canvas (a Format_RGB32 QImage at 96 dpi), the
// layout state and the photo. The window shows canvas() and fits itself around canvas().size();
// the command line saves it. The frame description belongs to the caller and is passed in.
class PreviewComposer
{
public:
    // Without a measurer, texts are measured with FontMetricsMeasurer (the real fonts).
    explicit PreviewComposer(const TextMeasurer *measurer = nullptr);
    ~PreviewComposer();

    // Lays out for the frame's photo size and clears the canvas to backColor. LayoutRefused when
    // the size is outside 50..1600 x 50..1200 (canvas unchanged).
    ComposeOutcome layOut(FrameDescription &frame, const LayoutMargins &margins);

    // Header texts, border and footer texts on the laid-out canvas; sets borderLeft, borderTop.
    ComposeOutcome drawFrame(const FrameDescription &frame);

    // Takes the photo's size into the frame, lays out again and draws everything with the photo
    // inside the border. PhotoSizeRefused when the photo's size is out of range (nothing drawn).
    ComposeOutcome placePhoto(FrameDescription &frame, const LayoutMargins &margins,
                              const QImage &photo);

    // The whole composition: layout for the panel's size, then the photo of photoPath() when
    // that file exists (a vanished file counts as no photo), else the frame alone.
    ComposeOutcome compose(FrameDescription &frame, const LayoutMargins &margins);
    // The same with the photo at photo (none when empty), which becomes photoPath() when it is
    // empty or reads.
    ComposeOutcome compose(FrameDescription &frame, const LayoutMargins &margins,
                           const QString &photo);

    // The open-dialog and drop path: the photo at path is read and placed, and becomes
    // photoPath(). A file that is not a readable picture gives PhotoUnreadable and changes
    // nothing (the caller remembers the photo's folder unless the outcome is PhotoUnreadable).
    ComposeOutcome loadPhotoFile(const QString &path, FrameDescription &frame,
                                 const LayoutMargins &margins);
    // No photo from now on; the next composition draws the frame alone.
    void removePhoto() { m_photoPath.clear(); }

    // Fix(x + 0.5).
    static double roundHalfUp(double x);

    const QImage &canvas() const { return m_canvas; }
    const DrawnFrame &drawnFrame() const { return m_drawn; }

    qint32 marginFrameHBorder() const { return m_margins.marginFrameHBorder; }
    qint32 marginFontVBorder() const { return m_margins.marginFontVBorder; }
    qint32 marginFontHBorder() const { return m_margins.marginFontHBorder; }
    qint32 marginFontVFrame() const { return m_margins.marginFontVFrame; }
    qint32 borderLeft() const { return m_drawn.borderLeft; }
    qint32 borderTop() const { return m_drawn.borderTop; }

    // The photo the picture includes; empty for none. It changes only when a photo reads and by
    // removePhoto().
    const QString &photoPath() const { return m_photoPath; }

    // The stretch of FITS data and the shrinking of large photos, for the next compositions.
    void setPhotoOptions(const PhotoOptions &options) { m_photoOptions = options; }
    const PhotoOptions &photoOptions() const { return m_photoOptions; }

    // The solve of a photo, kept while that photo is the one the picture includes: the overlay
    // draws it (when the frame's sky overlay is on) and a saved picture can carry its WCS.
    struct PhotoSolution
    {
        QString photoPath;
        Wcs wcs; // in the photo's own pixels, before any shrinking
        QList<FieldObject> objects;
    };
    void setPhotoSolution(const std::optional<PhotoSolution> &solution);
    const std::optional<PhotoSolution> &photoSolution() const { return m_solution; }
    // The WCS of the photo the picture includes, in its own pixels; none when it is not solved.
    std::optional<Wcs> photoWcs() const;
    // The language of the overlay's names.
    void setOverlayLanguage(AppSettings::Language language) { m_overlayLanguage = language; }
    // The overlay of the last composition, in the photo's pixels as drawn; empty when none.
    const SkyOverlay::Layout &overlayLayout() const { return m_overlay; }

    // What the picture as composed says about itself when saved: the frame's texts (the frame
    // of the last composition), the date and observer of the photo's data, and, when a photo is
    // drawn and solved (photoWcs(), else a WCS in its FITS header), where it lies on the sky.
    PictureMetadata pictureMetadata(const FrameDescription &frame) const;

    // Decodings done so far (a repeated composition of an unchanged file decodes nothing).
    int decodeCount() const { return m_decodeCount; }

private:
    struct CachedPhoto
    {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        PhotoOptions options;
        QImage image;
        QString notice; // the photo was read only in part
    };

    ComposeOutcome placePhotoFile(const QString &path, FrameDescription &frame,
                                  const LayoutMargins &margins);
    // placePhoto with the cached photo, its notice on a drawn picture.
    ComposeOutcome placeCachedPhoto(FrameDescription &frame, const LayoutMargins &margins);

    std::unique_ptr<TextMeasurer> m_ownMeasurer;
    const TextMeasurer *m_measurer;
    QImage m_canvas;
    QImage m_spareCanvas; // the canvas of the size before, while it is not shared
    LayoutMargins m_margins;
    DrawnFrame m_drawn;
    QString m_photoPath;
    CachedPhoto m_cache;
    PhotoOptions m_photoOptions;
    int m_decodeCount = 0;
    QRect m_photoRect; // where the photo is drawn on the canvas; empty when it is not
    std::optional<PhotoSolution> m_solution;
    AppSettings::Language m_overlayLanguage = AppSettings::Language::Japanese;
    SkyOverlay::Layout m_overlay;
};
