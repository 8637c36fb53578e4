#pragma once

#include "compose/ComposeOutcome.h"
#include "compose/PreviewComposer.h"

#include <QMdiSubWindow>

class PlatformServices;
class PreviewCanvas;
class QDragMoveEvent;
class QDropEvent;
class QMdiArea;
class QMimeData;
class AppSettings;
struct FrameDescription;
struct LayoutMargins;

// The preview window: a sub-window of the main window's client area without frame or caption,
// whose only content is the canvas `picPreview`. It fills the client area and centres the canvas
// when the canvas is smaller, and is as large as the canvas (the area scrolls) when it is larger.
// With the settings' fitWindow() on, a larger canvas is shown scaled down to the client area
// instead; the picture itself (saved, copied) keeps its size.
//
// It also carries the photo and output commands: the photo by open dialog or by a file dropped on
// the canvas, removing it, saving the picture as BMP, PNG or JPEG and copying it to the clipboard.
// They work on the main window's frame description and settings, passed in once.
class PreviewWindow : public QMdiSubWindow
{
    Q_OBJECT

public:
    PreviewWindow(QMdiArea *area, PlatformServices *services, AppSettings *settings,
                  FrameDescription *frame);

    // Compose and show: layout, the photo when photoPath names an existing file, else frame and
    // texts. A photo of a size out of range is told in a message box when tellPhotoSize is set.
    // The window is shown unless the composition failed part-way (Failed, PhotoUnreadable); the
    // outcome says which.
    ComposeOutcome compose(FrameDescription &frame, const LayoutMargins &margins,
                           bool tellPhotoSize = true);

    // Choose a photo in the open dialog (starting in loadPath) and place it. Cancel changes
    // nothing; a file that is not a readable picture is told and the picture stays as it was.
    void openPhoto();
    // The picture without a photo, composed again and shown.
    void removePhoto();
    // Save the canvas under the name chosen in the save dialog (starting in savePath), as BMP,
    // PNG or JPEG (at the settings' jpegQuality): a name ending in .png, .jpg or .jpeg in that
    // format, any other by the filter chosen; after a successful save the window closes. A failed
    // write is told. With the settings' saveMetadata(), a PNG or JPEG carries the picture's
    // caption, date and sky position (PreviewComposer::pictureMetadata).
    void savePicture();
    // The canvas on the clipboard as a bitmap; the window stays open.
    void copyToClipboard();

    // The photo file path as it arrives from a drop: the first file of the list, or empty text
    // when the data holds no local file.
    static QString droppedFilePath(const QMimeData *data);
    // The extension rule of a dropped file: the text from the last "." of the whole path,
    // upper-cased, must be one of the photo extensions.
    static bool acceptsDroppedFile(const QString &path);
    // The entries of the open and the save dialog's filters, joined.
    static QString openDialogFilter();
    static QString saveDialogFilter();

    // The photo the picture includes; empty for none.
    QString photoPath() const { return m_composer.photoPath(); }
    // The name the save dialog proposes: the name last chosen in it while the window is loaded;
    // after a photo was chosen in the open dialog, the photo's name with ".bmp" in savePath, and
    // never the photo itself. Empty after the window was closed by a save.
    QString saveDialogName() const;

    PreviewComposer &composer() { return m_composer; }
    const QImage &canvasImage() const { return m_composer.canvas(); }
    PreviewCanvas *canvas() const { return m_canvas; }

    // Sizes the window to the canvas and the client area of the main window (as the canvas is
    // now); called after every composition, when the client area changes size and when the view
    // is switched between fitted and 1:1.
    void fitToCanvas();
    // Where a canvas is shown in a client area when the view is fitted: scaled down (never up)
    // to fit with its proportions kept, and centred.
    static QRect fittedRect(const QSize &canvas, const QSize &client);

signals:
    // A composition run by one of the photo commands or a drop, for the main window's status.
    void composed(const ComposeOutcome &outcome);
    // A photo was placed by the open dialog or a drop (its size may have been refused).
    void photoLoaded();
    // A text for the main window's status bar (a picture was saved).
    void statusMessage(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void dragOverCanvas(QDragMoveEvent *event);
    void dropOnCanvas(QDropEvent *event);
    // Reads and places the photo at path; tells an unreadable file or a refused size. An
    // unreadable file leaves photoPath and the picture as they were.
    void loadPhoto(const QString &path);
    // Closes the window; the object and photoPath stay for the next composition.
    void unload();
    void report(const ComposeOutcome &outcome);
    QSize clientAreaFor(const QSize &canvas) const;

    QMdiArea *m_area;
    PlatformServices *m_services;
    AppSettings *m_settings;
    FrameDescription *m_frame;
    PreviewComposer m_composer;
    QString m_dialogFileName; // the name last chosen in either file dialog
    bool m_dialogNameIsPhoto = false;
    QWidget *m_body;
    PreviewCanvas *m_canvas;
};
