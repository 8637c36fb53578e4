#pragma once

#include <QImage>
#include <QWidget>

// `picPreview`: shows the composed picture, pixel for pixel at its natural size, or scaled down
// with area averaging when the widget has been made smaller than the picture (the fitted view).
class PreviewCanvas : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewCanvas(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    // Lets go of the picture shown until the next setImage(), so that the composer can draw the
    // next one into the same memory instead of a new canvas (nothing is painted in between).
    void releaseImage();
    const QImage &image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QImage m_scaled; // the picture at the widget's size, made when first painted at it
};
