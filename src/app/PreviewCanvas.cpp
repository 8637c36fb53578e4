#include "PreviewCanvas.h"

#include <QPaintEvent>
#include <QPainter>

PreviewCanvas::PreviewCanvas(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewCanvas::setImage(const QImage &image)
{
    m_image = image;
    m_scaled = QImage();
    resize(image.size());
    update();
}

void PreviewCanvas::releaseImage()
{
    m_image = QImage();
    m_scaled = QImage();
}

void PreviewCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (size() == m_image.size() || m_image.isNull()) {
        painter.drawImage(event->rect().topLeft(), m_image, event->rect());
        return;
    }
    // Scaled once per picture and size, in device pixels; Qt's smooth scaling averages every
    // source pixel when it shrinks, so fine stars and thin text lines do not flicker away.
    const qreal ratio = devicePixelRatioF();
    const QSize target = (QSizeF(size()) * ratio).toSize();
    if (m_scaled.size() != target) {
        m_scaled = m_image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
    }
    painter.drawImage(
        event->rect().topLeft(), m_scaled,
        QRectF(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio));
}
