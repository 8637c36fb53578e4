#pragma once

#include "compose/ComposeOutcome.h"
#include "compose/PreviewComposer.h"

#include <QMdiSubWindow>

class PlatformServices;
class PreviewCanvas;
class QMdiArea;
struct FrameDescription;
struct LayoutMargins;

// The preview window: a sub-window of the main window's client area without frame or caption,
// whose only content is the canvas `picPreview`. It fills the client area and centres the canvas
// when the canvas is smaller, and is as large as the canvas (the area scrolls) when it is larger.
class frmPreview : public QMdiSubWindow
{
    Q_OBJECT

public:
    frmPreview(QMdiArea *area, PlatformServices *services);

    // Compose and show: layout, the photo when PhotoPath names an existing file, else frame and
    // texts. A photo of a size out of range is told in a message box when tellPhotoSize is set.
    // The window is shown unless the composition failed part-way (Failed, PhotoUnreadable); the
    // outcome says which.
    ComposeOutcome DrawPreview(FrameDescription &frame, const LayoutMargins &margins,
                               bool tellPhotoSize = true);

    PreviewComposer &composer() { return m_composer; }
    const QImage &canvasImage() const { return m_composer.canvas(); }
    PreviewCanvas *canvas() const { return m_canvas; }

    // Sizes the window to the canvas and the client area of the main window (as the canvas is
    // now); called after every composition and when the client area changes size.
    void fitToCanvas();

private:
    QSize clientAreaFor(const QSize &canvas) const;

    QMdiArea *m_area;
    PlatformServices *m_services;
    PreviewComposer m_composer;
    QWidget *m_body;
    PreviewCanvas *m_canvas;
};
