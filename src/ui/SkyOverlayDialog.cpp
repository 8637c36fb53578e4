#include "SkyOverlayDialog.h"

#include "ColorChooser.h"
#include "PlatformServices.h"
#include "common/ColorRef.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

SkyOverlayDialog::SkyOverlayDialog(const TemplateSky &sky, const QStringList &fontNames,
                                   PlatformServices &services, QWidget *parent)
    : QDialog(parent), m_services(services), m_sky(sky)
{
    setObjectName(QStringLiteral("frmSkyOverlay"));
    setWindowTitle(tr("星図の注記"));
    auto *column = new QVBoxLayout(this);
    chkSkyOverlay = new QCheckBox(tr("解析した写真に方位、スケールと天体名を描く"), this);
    chkSkyOverlay->setObjectName(QStringLiteral("chkSkyOverlay"));
    column->addWidget(chkSkyOverlay);
    auto *form = new QFormLayout;
    column->addLayout(form);
    cboSkyCorner = new QComboBox(this);
    cboSkyCorner->setObjectName(QStringLiteral("cboSkyCorner"));
    cboSkyCorner->addItems({tr("左上"), tr("右上"), tr("左下"), tr("右下")});
    form->addRow(tr("方位とスケールの位置"), cboSkyCorner);
    chkSkyCompass = new QCheckBox(tr("方位（北と東）"), this);
    chkSkyCompass->setObjectName(QStringLiteral("chkSkyCompass"));
    chkSkyScaleBar = new QCheckBox(tr("スケール"), this);
    chkSkyScaleBar->setObjectName(QStringLiteral("chkSkyScaleBar"));
    chkSkyLabels = new QCheckBox(tr("写野の天体名"), this);
    chkSkyLabels->setObjectName(QStringLiteral("chkSkyLabels"));
    form->addRow(QString(), chkSkyCompass);
    form->addRow(QString(), chkSkyScaleBar);
    form->addRow(QString(), chkSkyLabels);
    cboSkyFont = new QComboBox(this);
    cboSkyFont->setObjectName(QStringLiteral("cboSkyFont"));
    cboSkyFont->addItem(tr("（対象名と同じ）"));
    cboSkyFont->addItems(fontNames);
    form->addRow(tr("フォント"), cboSkyFont);
    txtSkyFontSize = new QSpinBox(this);
    txtSkyFontSize->setObjectName(QStringLiteral("txtSkyFontSize"));
    txtSkyFontSize->setRange(4, 72);
    form->addRow(tr("サイズ"), txtSkyFontSize);
    cmdSkyColor = new QPushButton(this);
    cmdSkyColor->setObjectName(QStringLiteral("cmdSkyColor"));
    cmdSkyColor->setAutoDefault(false);
    form->addRow(tr("色"), cmdSkyColor);
    connect(cmdSkyColor, &QPushButton::clicked, this, [this] {
        if (const auto chosen = m_services.chooseColor(this, ColorRef::toColor(m_sky.color),
                                                       ColorChooser::colorDialogTitle(),
                                                       ColorChooser::standardCustomColors())) {
            m_sky.color = ColorRef::fromColor(*chosen);
            showColor();
        }
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    chkSkyOverlay->setChecked(sky.overlay);
    cboSkyCorner->setCurrentIndex(std::clamp(sky.corner, 0, 3));
    chkSkyCompass->setChecked(sky.compass);
    chkSkyScaleBar->setChecked(sky.scaleBar);
    chkSkyLabels->setChecked(sky.labels);
    const int font = sky.fontName.isEmpty() ? 0 : cboSkyFont->findText(sky.fontName);
    if (font < 0)
        cboSkyFont->addItem(sky.fontName);
    cboSkyFont->setCurrentIndex(font < 0 ? cboSkyFont->count() - 1 : font);
    txtSkyFontSize->setValue(sky.fontSize);
    showColor();
}

void SkyOverlayDialog::showColor()
{
    cmdSkyColor->setStyleSheet(QStringLiteral("background-color: %1; min-width: 48px")
                                   .arg(ColorRef::toColor(m_sky.color).name()));
}

TemplateSky SkyOverlayDialog::sky() const
{
    TemplateSky s = m_sky;
    s.overlay = chkSkyOverlay->isChecked();
    s.corner = cboSkyCorner->currentIndex();
    s.compass = chkSkyCompass->isChecked();
    s.scaleBar = chkSkyScaleBar->isChecked();
    s.labels = chkSkyLabels->isChecked();
    s.fontName = cboSkyFont->currentIndex() == 0 ? QString() : cboSkyFont->currentText();
    s.fontSize = txtSkyFontSize->value();
    return s;
}

bool SkyOverlayDialog::edit(QWidget *owner, PlatformServices &services,
                            const QStringList &fontNames, TemplateSky *sky)
{
    SkyOverlayDialog dialog(*sky, fontNames, services, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *sky = dialog.sky();
    return true;
}
