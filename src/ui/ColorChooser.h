#pragma once

#include <QColor>
#include <QList>
#include <QString>

class PlatformServices;
class QWidget;

// The colour chooser behind the colour swatches of the editing panel.
//
// The main window's swatch click handlers call
//     ColorChooser::chooseSwatchColor(this, picFrameColor, m_services);
// A swatch's colour is its "color" property (0x00BBGGRR) when it has one, otherwise the colour
// of its background role.
namespace ColorChooser {

// The title of the colour dialog from every swatch.
QString colorDialogTitle();

// The sixteen custom colours shown at every opening of the dialog, in index order.
QList<QColor> standardCustomColors();

// Opens the colour dialog owned by `owner`, titled `title`, starting at `start`, with the sixteen
// standard custom colours. `chosen` receives the user's colour after OK and `start` after a
// cancel. Returns non-zero when the user confirmed a colour.
int chooseColor(QWidget *owner, PlatformServices &services, const QString &title,
                const QColor &start, QColor &chosen);

// The swatch click: opens the dialog at the swatch's colour; OK gives the swatch the chosen
// colour, Cancel keeps it. Returns true when the colour was replaced.
bool chooseSwatchColor(QWidget *owner, QWidget *swatch, PlatformServices &services);

// A swatch shows its colour as its filled background.
QColor swatchColor(const QWidget *swatch);
void setSwatchColor(QWidget *swatch, const QColor &color);

} // namespace ColorChooser
