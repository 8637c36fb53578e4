#pragma once

#include <QFrame>

// A picture box used as a colour swatch: its background shows the colour, held as 0x00BBGGRR. A
// click asks for a new colour.
class ColorSwatch : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(qint32 color READ color WRITE setColor)

public:
    explicit ColorSwatch(QWidget *parent = nullptr);

    qint32 color() const { return m_color; }
    void setColor(qint32 bgr);

signals:
    void clicked();
    void colorChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    qint32 m_color = 0;
};
