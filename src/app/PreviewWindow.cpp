#include "PreviewWindow.h"

#include "AppTexts.h"
#include "PhotoTexts.h"
#include "PreviewCanvas.h"
#include "compose/LayoutMargins.h"
#include "io/ExistingFolder.h"
#include "io/SavePicture.h"
#include "store/AppSettings.h"
#include "ui/PlatformServices.h"

#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

PreviewWindow::PreviewWindow(QMdiArea *area, PlatformServices *services, AppSettings *settings,
                             FrameDescription *frame)
    : QMdiSubWindow(nullptr, Qt::FramelessWindowHint), m_area(area), m_services(services),
      m_settings(settings), m_frame(frame)
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QString());
    // No system menu: the window has no caption and is never closed by a shortcut of its own.
    setSystemMenu(nullptr);
    setOption(QMdiSubWindow::RubberBandMove, false);
    m_body = new QWidget;
    m_body->setObjectName(QStringLiteral("PreviewWindowBody"));
    m_body->setAutoFillBackground(true);
    m_canvas = new PreviewCanvas(m_body);
    m_canvas->setObjectName(QStringLiteral("picPreview"));
    // Files dragged from a file manager onto the canvas bring in the photo.
    m_canvas->setAcceptDrops(true);
    m_canvas->installEventFilter(this);
    setWidget(m_body);
    m_area->addSubWindow(this);
}

ComposeOutcome PreviewWindow::compose(FrameDescription &frame, const LayoutMargins &margins,
                                      bool tellPhotoSize)
{
    m_composer.setPhotoOptions(photoOptionsFromSettings(*m_settings));
    m_canvas->releaseImage();
    const ComposeOutcome outcome = m_composer.compose(frame, margins);
    m_canvas->setImage(m_composer.canvas());
    if (outcome.kind == ComposeOutcome::Kind::PhotoSizeRefused && tellPhotoSize) {
        m_services->message(m_area->window(), QMessageBox::Critical,
                            ComposeOutcome::sizeMessageCaption(), outcome.message, QMessageBox::Ok,
                            QMessageBox::Ok);
    }
    if (outcome.kind == ComposeOutcome::Kind::Failed ||
        outcome.kind == ComposeOutcome::Kind::PhotoUnreadable)
        return outcome;
    fitToCanvas();
    if (!isVisible())
        show();
    return outcome;
}

QSize PreviewWindow::clientAreaFor(const QSize &canvas) const
{
    // The client area as the user sees it: inside the area's frame, less the scroll bars that a
    // canvas larger than the area brings up.
    QSize area = m_area->contentsRect().size();
    const int barWidth = m_area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_area);
    bool horizontal = false;
    bool vertical = false;
    for (int pass = 0; pass < 2; ++pass) {
        if (!horizontal && canvas.width() > area.width()) {
            horizontal = true;
            area.rheight() -= barWidth;
        }
        if (!vertical && canvas.height() > area.height()) {
            vertical = true;
            area.rwidth() -= barWidth;
        }
    }
    return area.expandedTo(QSize(0, 0));
}

QRect PreviewWindow::fittedRect(const QSize &canvas, const QSize &client)
{
    if (canvas.isEmpty())
        return QRect();
    const double scale = std::min(
        {1.0, double(client.width()) / canvas.width(), double(client.height()) / canvas.height()});
    const QSize shown(qMax(1, int(std::nearbyint(canvas.width() * scale))),
                      qMax(1, int(std::nearbyint(canvas.height() * scale))));
    return QRect(QPoint(int(std::nearbyint((client.width() - shown.width()) * 0.5)),
                        int(std::nearbyint((client.height() - shown.height()) * 0.5))),
                 shown);
}

void PreviewWindow::fitToCanvas()
{
    const QSize canvas = m_composer.canvas().size();
    if (m_settings->fitWindow()) {
        // The whole picture in the client area: no scroll bars come up.
        const QSize client = m_area->contentsRect().size();
        m_area->horizontalScrollBar()->setValue(0);
        m_area->verticalScrollBar()->setValue(0);
        setGeometry(QRect(QPoint(0, 0), client));
        m_canvas->setGeometry(fittedRect(canvas, client));
        return;
    }
    const QSize client = clientAreaFor(canvas);
    int width = canvas.width();
    int height = canvas.height();
    int left = 0;
    int top = 0;
    if (width < client.width()) {
        width = client.width();
        left = int(std::nearbyint((width - canvas.width()) * 0.5));
    }
    if (height < client.height()) {
        height = client.height();
        top = int(std::nearbyint((height - canvas.height()) * 0.5));
    }
    m_area->horizontalScrollBar()->setValue(0);
    m_area->verticalScrollBar()->setValue(0);
    setGeometry(0, 0, width, height);
    m_canvas->setGeometry(left, top, canvas.width(), canvas.height());
}

// ---------------------------------------------------------------------------------------------
// Photo import

QString PreviewWindow::openDialogFilter()
{
    QString filter;
    for (const char *entry : PhotoTexts::OpenFilterEntries)
        filter += tr(entry);
    return filter;
}

void PreviewWindow::openPhoto()
{
    const QString chosen = m_services->openFileName(
        m_area->window(),
        PlatformServices::FileDialogOptions::forOpen(openDialogFilter(), m_settings->loadPath()));
    if (chosen.isEmpty())
        return;
    m_dialogFileName = chosen;
    m_dialogNameIsPhoto = true;
    loadPhoto(chosen);
}

void PreviewWindow::removePhoto()
{
    m_composer.removePhoto();
    report(compose(*m_frame, LayoutMargins::fromSettings(*m_settings), true));
}

void PreviewWindow::loadPhoto(const QString &path)
{
    m_composer.setPhotoOptions(photoOptionsFromSettings(*m_settings));
    m_canvas->releaseImage();
    const ComposeOutcome outcome =
        m_composer.loadPhotoFile(path, *m_frame, LayoutMargins::fromSettings(*m_settings));
    m_canvas->setImage(m_composer.canvas());
    if (outcome.kind == ComposeOutcome::Kind::PhotoUnreadable) {
        // Nothing was drawn: the picture on screen and the photo it includes stay as they were.
        m_services->message(m_area->window(), QMessageBox::Warning,
                            tr(PhotoTexts::PhotoFailedCaption), outcome.message, QMessageBox::Ok,
                            QMessageBox::Ok);
        return;
    }
    const QString folder = existingFolder(path);
    if (!folder.isEmpty())
        m_settings->setLoadPath(folder);
    if (outcome.kind == ComposeOutcome::Kind::PhotoSizeRefused) {
        m_services->message(m_area->window(), QMessageBox::Critical,
                            ComposeOutcome::sizeMessageCaption(), outcome.message, QMessageBox::Ok,
                            QMessageBox::Ok);
    }
    if (outcome.kind != ComposeOutcome::Kind::Failed) {
        fitToCanvas();
        if (!isVisible())
            show();
    }
    report(outcome);
    emit photoLoaded();
}

QString PreviewWindow::droppedFilePath(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return QString();
    return QDir::toNativeSeparators(urls.constFirst().toLocalFile());
}

bool PreviewWindow::acceptsDroppedFile(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QString extension = path.mid(dot).toUpper();
    for (const char *accepted : PhotoTexts::PhotoFileExtensions) {
        if (extension == QLatin1String(accepted))
            return true;
    }
    return false;
}

void PreviewWindow::dragOverCanvas(QDragMoveEvent *event)
{
    const QString path = droppedFilePath(event->mimeData());
    if (!path.isEmpty() && acceptsDroppedFile(path))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PreviewWindow::dropOnCanvas(QDropEvent *event)
{
    const QString path = droppedFilePath(event->mimeData());
    // A drop the drag-over refused is not delivered by the window system; one that arrives all
    // the same is judged by the same rule.
    if (path.isEmpty() || !acceptsDroppedFile(path)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    loadPhoto(path);
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_canvas) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            dragOverCanvas(static_cast<QDragMoveEvent *>(event));
            return true;
        case QEvent::Drop:
            dropOnCanvas(static_cast<QDropEvent *>(event));
            return true;
        default:
            break;
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Picture output

QString PreviewWindow::saveDialogName() const
{
    if (!m_dialogNameIsPhoto)
        return m_dialogFileName;
    // Proposing the photo would let Enter and a Yes replace the original with the framed picture.
    const QString name = QFileInfo(m_dialogFileName).completeBaseName() + QStringLiteral(".bmp");
    const QString folder = m_settings->savePath();
    const QString proposed =
        folder.isEmpty() ? name : QDir::toNativeSeparators(QDir(folder).filePath(name));
    const QString photo = QFileInfo(m_dialogFileName).canonicalFilePath();
    return !photo.isEmpty() && QFileInfo(proposed).canonicalFilePath() == photo ? QString()
                                                                                : proposed;
}

QString PreviewWindow::saveDialogFilter()
{
    QStringList entries;
    for (const PhotoTexts::SaveEntry &entry : PhotoTexts::SaveEntries)
        entries.append(tr(entry.filter));
    return entries.join(u'|');
}

void PreviewWindow::savePicture()
{
    auto options = PlatformServices::FileDialogOptions::forSave(
        saveDialogFilter(), m_settings->savePath(), saveDialogName());
    for (const PhotoTexts::SaveEntry &entry : PhotoTexts::SaveEntries)
        options.defaultSuffixes.append(QString::fromLatin1(entry.suffix));
    const PlatformServices::FileChoice chosen = m_services->saveFile(m_area->window(), options);
    if (chosen.path.isEmpty())
        return;
    m_dialogFileName = chosen.path;
    m_dialogNameIsPhoto = false;
    // A name ending in .png, .jpg or .jpeg is written in that format, any other name in the format
    // of the entry chosen; the name is the one the dialog gave.
    const PhotoTexts::SaveEntry &entry = PhotoTexts::SaveEntries[qBound(
        0, chosen.filterIndex, int(std::size(PhotoTexts::SaveEntries)) - 1)];
    const SavePicture::Format typed = SavePicture::formatForPath(chosen.path);
    const SavePicture::Format format = typed == SavePicture::Format::Bmp ? entry.format : typed;
    QString error;
    const bool tagged = m_settings->saveMetadata() && format != SavePicture::Format::Bmp;
    const PictureXmp metadata = tagged ? m_composer.pictureMetadata(*m_frame).xmp() : PictureXmp();
    if (!SavePicture::write(m_composer.canvas(), chosen.path, format, m_settings->jpegQuality(),
                            &error, tagged ? &metadata : nullptr)) {
        m_services->message(m_area->window(), QMessageBox::Warning, AppTexts::saveFailedCaption(),
                            error, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    emit statusMessage(AppTexts::savedText(chosen.path));
    const QString folder = existingFolder(chosen.path);
    if (folder.isEmpty())
        return;
    m_settings->setSavePath(folder);
    unload();
}

void PreviewWindow::unload()
{
    hide();
    // A re-created window proposes no file name.
    m_dialogFileName.clear();
    m_dialogNameIsPhoto = false;
}

void PreviewWindow::copyToClipboard()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        m_services->message(m_area->window(), QMessageBox::Warning,
                            tr(PhotoTexts::ClipboardFailedCaption),
                            tr(PhotoTexts::ClipboardFailedText), QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    clipboard->clear();
    // The canvas itself: a paste gives the pixels a save writes.
    clipboard->setImage(m_composer.canvas());
}

void PreviewWindow::report(const ComposeOutcome &outcome)
{
    emit composed(outcome);
}
