#pragma once

#include "sky/FieldObjects.h"
#include "sky/Wcs.h"
#include "store/AppSettings.h"
#include "store/TemplateFile.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>

// The sky drawn over a solved photo (a template's [Sky] section): a north/east compass and a
// scale bar in the corner the template picks, and the names of the catalogue objects of the
// field, each at its place with an ellipse of its size for an extended object. Everything is
// placed in the photo as drawn (after shrinking), in photo pixels: labels never overlap one
// another or the corner's marks, and nothing leaves the photo; a label that finds no free place
// is left out.
namespace SkyOverlay {

struct Label
{
    QString text;
    QRectF box;       // the text's rectangle
    QPointF centre;   // the object's place
    double major = 0; // the ellipse's diameters; 0 for a point object (a small ring)
    double minor = 0;
    double axisAngle = 0; // degrees from the x axis toward the y axis
};

struct Compass
{
    QPointF origin;
    QPointF north; // the arms' ends
    QPointF east;
    QRectF northText;
    QRectF eastText;
    QRectF box; // everything the compass covers
};

struct ScaleBar
{
    QPointF start; // the bar, left to right
    QPointF end;
    QString text; // "30′", "1°", "45″"
    QRectF textBox;
    QRectF box;
};

struct Layout
{
    QSize photo;
    std::optional<Compass> compass;
    std::optional<ScaleBar> scaleBar;
    QList<Label> labels;
};

// The overlay of a photo drawn at `photo` size, from the solve's WCS and objects (in the pixels
// the solve gave, scaled to the photo as drawn), with the style's marks and font.
Layout layOut(const Wcs &solved, const QList<FieldObject> &objects, const QSize &photo,
              const TemplateSky &style, const QFont &font, AppSettings::Language language);

// The font of the style: its face (fallbackName when it names none) at its size, as the canvas
// draws texts.
QFont font(const TemplateSky &style, const QString &fallbackName);

// Draws the layout on the canvas with the photo's top-left corner at photoTopLeft, clipped to
// the photo.
void draw(QImage &canvas, const QPoint &photoTopLeft, const Layout &layout,
          const TemplateSky &style, const QFont &font);

// The scale bar's length: the longest round angle (arcseconds) no longer than maxPixels at
// arcsecPerPixel; 0 when none fits.
double scaleBarArcsec(double arcsecPerPixel, double maxPixels);

} // namespace SkyOverlay
