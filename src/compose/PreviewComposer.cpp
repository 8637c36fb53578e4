#include "PreviewComposer.h"

#include "Canvas.h"
#include "FontMetricsMeasurer.h"
#include "FrameDescription.h"
#include "FrameLayout.h"
#include "TextNumber.h"
#include "common/ColorRef.h"
#include "io/LoadPicture.h"
#include "io/PhotoMetadata.h"

#include <QCoreApplication>
#include <QFileInfo>

PreviewComposer::PreviewComposer(const TextMeasurer *measurer) : m_measurer(measurer)
{
    if (!m_measurer) {
        m_ownMeasurer = std::make_unique<FontMetricsMeasurer>();
        m_measurer = m_ownMeasurer.get();
    }
}

PreviewComposer::~PreviewComposer() = default;

double PreviewComposer::roundHalfUp(double x)
{
    return TextNumber::roundHalfUp(x);
}

ComposeOutcome PreviewComposer::layOut(FrameDescription &frame, const LayoutMargins &margins)
{
    QSize size;
    const ComposeOutcome outcome = FrameLayout::layOut(frame, margins, *m_measurer, &size);
    if (outcome.kind == ComposeOutcome::Kind::LayoutRefused)
        return outcome;
    m_margins = margins;
    if (!outcome.isDrawn())
        return outcome;
    // The same size reuses the canvas's memory: no new allocation for a repeated composition.
    // A composition with a photo lays out for the panel's size, then for the photo's: the canvas
    // of the other size waits as the spare, so that photo after photo allocates nothing either.
    if (m_canvas.size() != size && m_spareCanvas.size() == size && m_spareCanvas.isDetached())
        std::swap(m_canvas, m_spareCanvas);
    if (m_canvas.size() != size || m_canvas.isDetached() == false) {
        QImage canvas = Canvas::makeImage(size.width(), size.height());
        if (canvas.isNull()) {
            return ComposeOutcome::failed(
                QCoreApplication::translate("PreviewComposer",
                                            "%1x%2 の大きさの画像を作るメモリがありません。")
                    .arg(size.width())
                    .arg(size.height()));
        }
        if (m_canvas.isDetached())
            m_spareCanvas = m_canvas;
        m_canvas = canvas;
    }
    m_canvas.fill(ColorRef::toColor(frame.backColor));
    m_drawn = DrawnFrame{};
    m_photoRect = QRect();
    m_overlay = SkyOverlay::Layout{};
    return outcome;
}

ComposeOutcome PreviewComposer::drawFrame(const FrameDescription &frame)
{
    return FrameRenderer::drawFrame(m_canvas, frame, m_margins, &m_drawn);
}

ComposeOutcome PreviewComposer::placePhoto(FrameDescription &frame, const LayoutMargins &margins,
                                           const QImage &photo)
{
    frame.photoWidth = photo.width();
    frame.photoHeight = photo.height();
    ComposeOutcome outcome = layOut(frame, margins);
    if (outcome.kind == ComposeOutcome::Kind::LayoutRefused)
        return ComposeOutcome::photoSizeRefused();
    if (!outcome.isDrawn())
        return outcome;
    outcome = drawFrame(frame);
    if (!outcome.isDrawn())
        return outcome;
    FrameRenderer::paintPhoto(m_canvas, photo, m_drawn.photoArea.topLeft());
    m_photoRect = QRect(m_drawn.photoArea.topLeft(), photo.size());
    return outcome;
}

ComposeOutcome PreviewComposer::compose(FrameDescription &frame, const LayoutMargins &margins)
{
    return compose(frame, margins, m_photoPath);
}

ComposeOutcome PreviewComposer::compose(FrameDescription &frame, const LayoutMargins &margins,
                                        const QString &photo)
{
    if (photo.isEmpty())
        m_photoPath.clear();
    const ComposeOutcome outcome = layOut(frame, margins);
    if (!outcome.isDrawn())
        return outcome;
    if (!photo.isEmpty() && QFileInfo(photo).isFile())
        return loadPhotoFile(photo, frame, margins);
    return drawFrame(frame);
}

ComposeOutcome PreviewComposer::loadPhotoFile(const QString &path, FrameDescription &frame,
                                              const LayoutMargins &margins)
{
    const ComposeOutcome outcome = placePhotoFile(path, frame, margins);
    if (outcome.kind != ComposeOutcome::Kind::PhotoUnreadable)
        m_photoPath = path;
    return outcome;
}

ComposeOutcome PreviewComposer::placePhotoFile(const QString &path, FrameDescription &frame,
                                               const LayoutMargins &margins)
{
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath();
    const qint64 fileSize = info.size();
    const QDateTime modified = info.lastModified();
    if (!m_cache.image.isNull() && m_cache.path == key && m_cache.size == fileSize &&
        m_cache.modified == modified && m_cache.options == m_photoOptions && info.isFile()) {
        return placeCachedPhoto(frame, margins);
    }

    // The size first: a photo the layout refuses is never decoded.
    const LoadPicture::Header header = LoadPicture::readHeader(path);
    if (!header.ok())
        return ComposeOutcome::photoUnreadable(header.error);
    const QSize size = LoadPicture::decodedSize(header, m_photoOptions);
    if (!FrameLayout::photoSizeAccepted(size.width(), size.height())) {
        frame.photoWidth = size.width();
        frame.photoHeight = size.height();
        ComposeOutcome outcome = ComposeOutcome::photoSizeRefused();
        PhotoOptions shrinking = m_photoOptions;
        shrinking.shrink = true;
        const QSize shrunk = LoadPicture::decodedSize(header, shrinking);
        outcome.shrinkWouldFit = !m_photoOptions.shrink &&
                                 FrameLayout::photoSizeAccepted(shrunk.width(), shrunk.height());
        return outcome;
    }
    LoadPicture::Picture picture = LoadPicture::decode(path, m_photoOptions);
    if (!picture.ok())
        return ComposeOutcome::photoUnreadable(picture.error);
    ++m_decodeCount;
    m_cache = CachedPhoto{key, fileSize, modified, m_photoOptions, picture.image, picture.notice};
    return placeCachedPhoto(frame, margins);
}

ComposeOutcome PreviewComposer::placeCachedPhoto(FrameDescription &frame,
                                                 const LayoutMargins &margins)
{
    ComposeOutcome outcome = placePhoto(frame, margins, m_cache.image);
    if (!outcome.isDrawn())
        return outcome;
    outcome.notice = m_cache.notice;
    // The sky over the photo, inside the photo area: the frame's layout stays as it is.
    if (frame.sky.overlay && m_solution &&
        QFileInfo(m_solution->photoPath).absoluteFilePath() == m_cache.path) {
        const QFont font = SkyOverlay::font(frame.sky, frame.textItems[0].fontName);
        m_overlay = SkyOverlay::layOut(m_solution->wcs, m_solution->objects, m_cache.image.size(),
                                       frame.sky, font, m_overlayLanguage);
        SkyOverlay::draw(m_canvas, m_drawn.photoArea.topLeft(), m_overlay, frame.sky, font);
    }
    return outcome;
}

void PreviewComposer::setPhotoSolution(const std::optional<PhotoSolution> &solution)
{
    m_solution = solution;
}

std::optional<Wcs> PreviewComposer::photoWcs() const
{
    if (m_solution && !m_photoPath.isEmpty() &&
        QFileInfo(m_solution->photoPath).absoluteFilePath() ==
            QFileInfo(m_photoPath).absoluteFilePath())
        return m_solution->wcs;
    return std::nullopt;
}

PictureMetadata PreviewComposer::pictureMetadata(const FrameDescription &frame) const
{
    const bool photoDrawn = !m_photoRect.isEmpty() && !m_photoPath.isEmpty();
    PhotoMetadata data;
    if (photoDrawn)
        PhotoMetadata::read(m_photoPath, &data);
    PictureMetadata m = PictureMetadata::of(frame, data);
    m.pictureSize = m_canvas.size();
    if (photoDrawn) {
        m.photoRect = m_photoRect;
        m.photoWcs = photoWcs();
        if (!m.photoWcs)
            m.photoWcs = PictureMetadata::headerWcs(data);
    }
    return m;
}
