#pragma once

#include "store/TemplateFile.h"

#include <QDialog>
#include <QStringList>

class PlatformServices;
class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

// The template's sky overlay: whether it is drawn, the corner of the compass and the scale bar,
// which marks it has, and the font and colour of its texts.
class SkyOverlayDialog : public QDialog
{
    Q_OBJECT

public:
    SkyOverlayDialog(const TemplateSky &sky, const QStringList &fontNames,
                     PlatformServices &services, QWidget *parent = nullptr);

    TemplateSky sky() const;

    // Shows the dialog; true, with *sky changed, after OK.
    static bool edit(QWidget *owner, PlatformServices &services, const QStringList &fontNames,
                     TemplateSky *sky);

private:
    void showColor();

    PlatformServices &m_services;
    TemplateSky m_sky;
    QCheckBox *chkSkyOverlay;
    QComboBox *cboSkyCorner;
    QCheckBox *chkSkyCompass;
    QCheckBox *chkSkyScaleBar;
    QCheckBox *chkSkyLabels;
    QComboBox *cboSkyFont;
    QSpinBox *txtSkyFontSize;
    QPushButton *cmdSkyColor;
};
