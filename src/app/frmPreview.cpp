#include "frmPreview.h"

#include "PreviewCanvas.h"
#include "ui/PlatformServices.h"

#include <QMdiArea>
#include <QScrollBar>
#include <QStyle>

#include <cmath>

frmPreview::frmPreview(QMdiArea *area, PlatformServices *services)
    : QMdiSubWindow(nullptr, Qt::FramelessWindowHint), m_area(area), m_services(services)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QString());
    // No system menu: the window has no caption and is never closed by a shortcut of its own.
    setSystemMenu(nullptr);
    setOption(QMdiSubWindow::RubberBandMove, false);
    m_body = new QWidget;
    m_body->setObjectName(QStringLiteral("frmPreviewBody"));
    m_body->setAutoFillBackground(true);
    m_canvas = new PreviewCanvas(m_body);
    m_canvas->setObjectName(QStringLiteral("picPreview"));
    setWidget(m_body);
    m_area->addSubWindow(this);
}

ComposeOutcome frmPreview::DrawPreview(FrameDescription &frame, const LayoutMargins &margins,
                                       bool tellPhotoSize)
{
    const ComposeOutcome outcome = m_composer.DrawPreview(frame, margins);
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

QSize frmPreview::clientAreaFor(const QSize &canvas) const
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

void frmPreview::fitToCanvas()
{
    const QSize canvas = m_composer.canvas().size();
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
