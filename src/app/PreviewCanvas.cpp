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
    resize(image.size());
    update();
}

void PreviewCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), m_image, event->rect());
}
