#include "SettingsDialog.h"

#include "DigitsValidator.h"
#include "Twips.h"
#include "UiFonts.h"
#include "compose/FrameLayout.h"
#include "io/PhotoOptions.h"
#include "store/AppSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Client area and control rectangles in twips: left, top, width, height. The first 4410 twips
// hold the dialog's original controls; the groups of the later settings stand beside them.
constexpr int ClientWidth = 14070;
constexpr int ClientHeight = 3195;
constexpr Twips::Rect PhotoGroupRect{4500, 45, 3870, 1470};
constexpr Twips::Rect ViewGroupRect{4500, 1590, 3870, 1515};
constexpr Twips::Rect CaptionGroupRect{8460, 45, 5520, 3060};

constexpr Twips::Rect DateFormatRect{1230, 60, 1635, 300};
constexpr Twips::Rect DateDelimiterRect{2880, 60, 1005, 300};
constexpr Twips::Rect MonthRect{1260, 390, 2775, 225};
constexpr int MarginLeft = 2880, MarginTop = 810, MarginStep = 330, MarginWidth = 615,
              MarginHeight = 285;
constexpr Twips::Rect WindowPosRect{120, 2430, 3135, 225};
constexpr Twips::Rect SaveRect{2490, 2760, 855, 300};
constexpr Twips::Rect CloseRect{3420, 2760, 855, 300};
constexpr Twips::Rect PreviewRect{1230, 690, 1275, 1575};
constexpr Twips::Rect DateFormatLabelRect{120, 90, 1065, 225};
constexpr Twips::Rect MarginLabelRect{120, 720, 615, 225};
constexpr int NumberLabelLeft = 2640, UnitLabelLeft = 3540, SideLabelTop = 870,
              NumberLabelWidth = 225, UnitLabelWidth = 555, SideLabelHeight = 225;

constexpr int DiagramWidth = 81;
constexpr int DiagramHeight = 102;

QString indexedName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// A check box shows 0 and 1; any other stored value shows as undecided and is kept unless the user
// decides.
void loadCheck(QCheckBox *box, qint32 value)
{
    if (value == 0 || value == 1) {
        box->setChecked(value == 1);
        return;
    }
    box->setCheckState(Qt::PartiallyChecked);
    QObject::connect(box, &QCheckBox::stateChanged, box, [box](int state) {
        if (state != Qt::PartiallyChecked)
            box->setTristate(false);
    });
}

qint32 savedCheck(const QCheckBox *box, qint32 stored)
{
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::Unchecked:
        return 0;
    default:
        return stored;
    }
}

// A list shows the positions it has; a stored value it cannot show selects nothing and is kept
// unless the user chooses.
void loadList(QComboBox *box, qint32 value)
{
    box->setCurrentIndex(value >= 0 && value < box->count() ? value : -1);
}

qint32 savedList(const QComboBox *box, qint32 stored)
{
    return box->currentIndex() >= 0 ? box->currentIndex() : stored;
}

QGroupBox *addGroup(QWidget *dialog, const char *name, const QString &title,
                    const Twips::Rect &rect)
{
    auto *group = new QGroupBox(title, dialog);
    group->setObjectName(QLatin1String(name));
    Twips::place(group, rect);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(4);
    return group;
}

QGridLayout *gridOf(QGroupBox *group)
{
    return static_cast<QGridLayout *>(group->layout());
}

} // namespace

SettingsDialog::SettingsDialog(AppSettings &settings, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_settings(settings)
{
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(tr("全般の設定"));
    setFont(UiFonts::dialogFont());
    setFixedSize(Twips::toPixels(ClientWidth, ClientHeight));

    const auto makeLabel = [this](int index, const QString &text, const Twips::Rect &r) {
        lblTag[index] = new QLabel(text, this);
        lblTag[index]->setObjectName(indexedName("lblTag", index));
        Twips::place(lblTag[index], r);
    };
    makeLabel(0, tr("日付形式"), DateFormatLabelRect);
    makeLabel(1, tr("余白"), MarginLabelRect);

    cboDateFormat = new QComboBox(this);
    cboDateFormat->setObjectName(QStringLiteral("cboDateFormat"));
    cboDateFormat->addItems({QStringLiteral("YYYY/MM/DD"), QStringLiteral("MM/DD/YYYY")});
    Twips::place(cboDateFormat, DateFormatRect);

    cboDateDelimiter = new QComboBox(this);
    cboDateDelimiter->setObjectName(QStringLiteral("cboDateDelimiter"));
    cboDateDelimiter->addItems(
        {QStringLiteral("/"), QStringLiteral("-"), QStringLiteral("."), tr("年月日")});
    Twips::place(cboDateDelimiter, DateDelimiterRect);

    chkMonth = new QCheckBox(tr("\"月\"を英語表記する"), this);
    chkMonth->setObjectName(QStringLiteral("chkMonth"));
    Twips::place(chkMonth, MonthRect);

    picPreview = new QLabel(this);
    picPreview->setObjectName(QStringLiteral("picPreview"));
    picPreview->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picPreview->setPixmap(QPixmap::fromImage(marginDiagram()));
    Twips::place(picPreview, PreviewRect);

    for (int i = 0; i < 4; ++i) {
        const int top = MarginTop + MarginStep * i;
        const int sideTop = SideLabelTop + MarginStep * i;
        txtMargin[i] = new QLineEdit(this);
        txtMargin[i]->setObjectName(indexedName("txtMargin", i));
        Twips::place(txtMargin[i], {MarginLeft, top, MarginWidth, MarginHeight});
        makeLabel(2 + 2 * i, QStringLiteral("%1.").arg(i + 1),
                  {NumberLabelLeft, sideTop, NumberLabelWidth, SideLabelHeight});
        makeLabel(3 + 2 * i, QStringLiteral("pixel"),
                  {UnitLabelLeft, sideTop, UnitLabelWidth, SideLabelHeight});
        new DigitsValidator(txtMargin[i]);
    }

    chkWindowPos = new QCheckBox(tr("終了時の位置と大きさを保存する"), this);
    chkWindowPos->setObjectName(QStringLiteral("chkWindowPos"));
    Twips::place(chkWindowPos, WindowPosRect);

    // No default button: Enter saves nothing. Esc closes through reject().
    cmdSave = new QPushButton(tr("保存"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setAutoDefault(false);
    Twips::place(cmdSave, SaveRect);
    connect(cmdSave, &QPushButton::clicked, this, &SettingsDialog::writeSettings);

    cmdClose = new QPushButton(tr("閉じる"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    Twips::place(cmdClose, CloseRect);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    buildPhotoGroup();
    buildViewGroup();
    buildCaptionGroup();

    // The original controls first, then the groups beside them, column by column.
    QWidget *const tabOrder[] = {
        cboDateFormat,      cboDateDelimiter, chkMonth,        txtMargin[0],    txtMargin[1],
        txtMargin[2],       txtMargin[3],     chkWindowPos,    cmdSave,         cmdClose,
        cboStretch,         chkShrink,        txtShrinkWidth,  txtShrinkHeight, chkLivePreview,
        cboLanguage,        chkFillOnLoad,    txtCaption[0],   txtCaption[1],   txtCaption[2],
        cmdCaptionDefaults, chkSolveField,    txtSolveTimeout, chkMetadata};
    for (size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);

    readSettings();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::buildPhotoGroup()
{
    QGroupBox *group = addGroup(this, "fraPhoto", tr("写真"), PhotoGroupRect);
    QGridLayout *grid = gridOf(group);
    auto *stretchLabel = new QLabel(tr("FITS の表示の伸張"), group);
    cboStretch = new QComboBox(group);
    cboStretch->setObjectName(QStringLiteral("cboStretch"));
    cboStretch->addItems({tr("自動"), tr("線形"), tr("なし")});
    stretchLabel->setBuddy(cboStretch);
    grid->addWidget(stretchLabel, 0, 0, 1, 2);
    grid->addWidget(cboStretch, 0, 2, 1, 3);

    chkShrink = new QCheckBox(tr("大きな写真を縮小する"), group);
    chkShrink->setObjectName(QStringLiteral("chkShrink"));
    grid->addWidget(chkShrink, 1, 0, 1, 5);
    const auto sizeBox = [group](const char *name, int low, int high) {
        auto *box = new QSpinBox(group);
        box->setObjectName(QLatin1String(name));
        box->setRange(low, high);
        box->setAlignment(Qt::AlignRight);
        return box;
    };
    txtShrinkWidth =
        sizeBox("txtShrinkWidth", FrameLayout::MinPhotoWidth, FrameLayout::MaxPhotoWidth);
    txtShrinkHeight =
        sizeBox("txtShrinkHeight", FrameLayout::MinPhotoHeight, FrameLayout::MaxPhotoHeight);
    txtShrinkWidth->setToolTip(tr("この大きさより大きな写真を、縦横比を保って縮小します"));
    txtShrinkHeight->setToolTip(txtShrinkWidth->toolTip());
    grid->addItem(new QSpacerItem(16, 0), 2, 0);
    grid->addWidget(txtShrinkWidth, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("x"), group), 2, 2, Qt::AlignCenter);
    grid->addWidget(txtShrinkHeight, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("pixel"), group), 2, 4);
    grid->setColumnStretch(4, 1);
    for (QSpinBox *box : {txtShrinkWidth, txtShrinkHeight})
        connect(chkShrink, &QCheckBox::toggled, box, &QWidget::setEnabled);
}

void SettingsDialog::buildViewGroup()
{
    QGroupBox *group = addGroup(this, "fraView", tr("ウィンドウ"), ViewGroupRect);
    QGridLayout *grid = gridOf(group);
    chkLivePreview = new QCheckBox(tr("入力するたびにプレビューする"), group);
    chkLivePreview->setObjectName(QStringLiteral("chkLivePreview"));
    grid->addWidget(chkLivePreview, 0, 0, 1, 2);
    auto *languageLabel = new QLabel(tr("表示言語 (&Language)"), group);
    cboLanguage = new QComboBox(group);
    cboLanguage->setObjectName(QStringLiteral("cboLanguage"));
    // Each language in its own script, whatever the language of the window.
    cboLanguage->addItems({QStringLiteral("日本語"), QStringLiteral("English")});
    languageLabel->setBuddy(cboLanguage);
    grid->addWidget(languageLabel, 1, 0);
    grid->addWidget(cboLanguage, 1, 1);
    auto *note = new QLabel(tr("言語は次の起動から変わります。"), group);
    note->setObjectName(QStringLiteral("lblLanguageNote"));
    grid->addWidget(note, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void SettingsDialog::buildCaptionGroup()
{
    QGroupBox *group = addGroup(this, "fraCaption", tr("写真の情報から入力"), CaptionGroupRect);
    QGridLayout *grid = gridOf(group);
    chkFillOnLoad = new QCheckBox(tr("写真を読み込んだら情報を入力する"), group);
    chkFillOnLoad->setObjectName(QStringLiteral("chkFillOnLoad"));
    grid->addWidget(chkFillOnLoad, 0, 0, 1, 2);
    grid->addWidget(new QLabel(tr("説明文 1～3 のパターン"), group), 1, 0, 1, 2);
    const QString hint =
        tr("{OBJECT} {TELESCOP} {INSTRUME} {EXPTIME} {STACKCNT} {TOTAL} {Model} {ISO} などに\n"
           "写真の情報が入ります。[ ] の部分は、中の値がすべてあるときだけ入ります。");
    for (int i = 0; i < 3; ++i) {
        txtCaption[i] = new QLineEdit(group);
        txtCaption[i]->setObjectName(indexedName("txtCaption", i));
        txtCaption[i]->setToolTip(hint);
        auto *number = new QLabel(QStringLiteral("%1.").arg(i + 1), group);
        number->setBuddy(txtCaption[i]);
        grid->addWidget(number, 2 + i, 0);
        grid->addWidget(txtCaption[i], 2 + i, 1);
    }
    cmdCaptionDefaults = new QPushButton(tr("既定のパターンに戻す"), group);
    cmdCaptionDefaults->setObjectName(QStringLiteral("cmdCaptionDefaults"));
    cmdCaptionDefaults->setAutoDefault(false);
    connect(cmdCaptionDefaults, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < 3; ++i)
            txtCaption[i]->setText(AppSettings::defaultCaptionPattern(i));
    });
    grid->addWidget(cmdCaptionDefaults, 5, 1, Qt::AlignRight);
    // Plate solving: astrometry.net finds where the photo lies on the sky, within a time limit.
    auto *solveRow = new QHBoxLayout;
    chkSolveField = new QCheckBox(tr("写野を解析する"), group);
    chkSolveField->setObjectName(QStringLiteral("chkSolveField"));
    chkSolveField->setToolTip(
        tr("astrometry.net で写真の写野を求め、{TARGET} {RA} {DEC} {FOV} {SCALE} {NORTH}\n"
           "{OBJECTS} に入れます。対象名が空なら {TARGET} が入ります。"));
    txtSolveTimeout = new QSpinBox(group);
    txtSolveTimeout->setObjectName(QStringLiteral("txtSolveTimeout"));
    txtSolveTimeout->setRange(5, 600);
    txtSolveTimeout->setSuffix(tr(" 秒まで"));
    solveRow->addWidget(chkSolveField);
    solveRow->addStretch(1);
    solveRow->addWidget(txtSolveTimeout);
    grid->addLayout(solveRow, 6, 0, 1, 2);
    connect(chkSolveField, &QCheckBox::toggled, txtSolveTimeout, &QWidget::setEnabled);
    chkMetadata = new QCheckBox(tr("PNG と JPEG に説明文、撮影日時、空の位置を書き込む"), group);
    chkMetadata->setObjectName(QStringLiteral("chkMetadata"));
    chkMetadata->setToolTip(
        tr("画像ビューアのプロパティに表題（対象名）、説明文、撮影日時、撮影者が出ます。\n"
           "位置が分かる写真では、星図ソフトが画像を空に重ねられる位置 (AVM) も入ります。\n"
           "BMP には書き込みません。"));
    grid->addWidget(chkMetadata, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);
}

bool SettingsDialog::showModal(QWidget *owner, AppSettings &settings)
{
    SettingsDialog dialog(settings, owner);
    return dialog.exec() == QDialog::Accepted;
}

void SettingsDialog::readSettings()
{
    loadList(cboDateFormat, m_settings.dateFormat());
    loadList(cboDateDelimiter, m_settings.delimiterFormat());
    loadCheck(chkMonth, m_settings.englishMonthsValue());
    txtMargin[0]->setText(QString::number(m_settings.marginFontVBorder()));
    txtMargin[1]->setText(QString::number(m_settings.marginFontHBorder()));
    txtMargin[2]->setText(QString::number(m_settings.marginFrameHBorder()));
    txtMargin[3]->setText(QString::number(m_settings.marginFontVFrame()));
    loadCheck(chkWindowPos, m_settings.keepWindowGeometryValue());

    loadList(cboStretch, m_settings.photoStretch());
    chkShrink->setChecked(m_settings.shrinkLarge());
    m_shownBox = PhotoOptions::boundedBox(m_settings.shrinkBox());
    txtShrinkWidth->setValue(m_shownBox.width());
    txtShrinkHeight->setValue(m_shownBox.height());
    txtShrinkWidth->setEnabled(chkShrink->isChecked());
    txtShrinkHeight->setEnabled(chkShrink->isChecked());
    chkLivePreview->setChecked(m_settings.livePreview());
    loadList(cboLanguage, qint32(m_settings.language()));
    chkFillOnLoad->setChecked(m_settings.fillOnLoad());
    chkMetadata->setChecked(m_settings.saveMetadata());
    m_shownPatterns.clear();
    for (int i = 0; i < 3; ++i) {
        txtCaption[i]->setText(m_settings.captionPattern(i));
        txtCaption[i]->setCursorPosition(0);
        m_shownPatterns << txtCaption[i]->text();
    }
    chkSolveField->setChecked(m_settings.solveField());
    txtSolveTimeout->setValue(m_settings.solveTimeout());
    txtSolveTimeout->setEnabled(chkSolveField->isChecked());
}

void SettingsDialog::writeSettings()
{
    m_settings.setDateFormat(savedList(cboDateFormat, m_settings.dateFormat()));
    m_settings.setDelimiterFormat(savedList(cboDateDelimiter, m_settings.delimiterFormat()));
    m_settings.setEnglishMonthsValue(savedCheck(chkMonth, m_settings.englishMonthsValue()));
    m_settings.setMarginFontVBorder(leadingNumber(txtMargin[0]->text()));
    m_settings.setMarginFontHBorder(leadingNumber(txtMargin[1]->text()));
    m_settings.setMarginFrameHBorder(leadingNumber(txtMargin[2]->text()));
    m_settings.setMarginFontVFrame(leadingNumber(txtMargin[3]->text()));
    m_settings.setKeepWindowGeometryValue(
        savedCheck(chkWindowPos, m_settings.keepWindowGeometryValue()));

    m_settings.setPhotoStretch(savedList(cboStretch, m_settings.photoStretch()));
    m_settings.setShrinkLarge(chkShrink->isChecked());
    const QSize box(txtShrinkWidth->value(), txtShrinkHeight->value());
    if (box != m_shownBox)
        m_settings.setShrinkBox(box);
    m_settings.setLivePreview(chkLivePreview->isChecked());
    m_settings.setLanguage(
        AppSettings::Language(savedList(cboLanguage, qint32(m_settings.language()))));
    m_settings.setFillOnLoad(chkFillOnLoad->isChecked());
    m_settings.setSaveMetadata(chkMetadata->isChecked());
    for (int i = 0; i < 3; ++i) {
        if (txtCaption[i]->text() != m_shownPatterns.at(i))
            m_settings.setCaptionPattern(i, txtCaption[i]->text());
    }
    m_settings.setSolveField(chkSolveField->isChecked());
    if (txtSolveTimeout->value() != std::clamp(m_settings.solveTimeout(), 5, 600))
        m_settings.setSolveTimeout(txtSolveTimeout->value());
    accept();
}

qint32 SettingsDialog::leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    double value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        value = value * 10 + (text[i++].unicode() - u'0');
    if (i < text.size() && text[i] == u'.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, scale /= 10)
            value += (text[i].unicode() - u'0') * scale;
    }
    value = std::nearbyint(negative ? -value : value);
    constexpr double Low = std::numeric_limits<qint32>::min();
    constexpr double High = std::numeric_limits<qint32>::max();
    return qint32(std::clamp(value, Low, High));
}

QImage SettingsDialog::marginDiagram()
{
    QImage image(DiagramWidth, DiagramHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);

    const QColor green(0, 255, 0), yellow(255, 255, 0), blue(0, 0, 255);

    // The sample text item and the photo's top-left corner.
    const QRect text(20, 17, 38, 13);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(blue);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("M42"));
    const QPoint corner(30, 60);
    p.setPen(Qt::white);
    p.drawLine(corner, QPoint(DiagramWidth - 1, corner.y()));
    p.drawLine(corner, QPoint(corner.x(), DiagramHeight - 1));

    // The four measuring lines, each with short end marks, and their numbers.
    p.setPen(green);
    const auto vertical = [&p](int x, int y0, int y1) {
        p.drawLine(x, y0, x, y1);
        p.drawLine(x - 2, y0, x + 2, y0);
        p.drawLine(x - 2, y1, x + 2, y1);
    };
    const auto horizontal = [&p](int y, int x0, int x1) {
        p.drawLine(x0, y, x1, y);
        p.drawLine(x0, y - 2, x0, y + 2);
        p.drawLine(x1, y - 2, x1, y + 2);
    };
    vertical(26, 0, text.top() - 1);                   // 1: top edge to the text
    horizontal(text.center().y(), 0, text.left() - 1); // 2: left edge to the text
    horizontal(78, 0, corner.x() - 1);                 // 3: left edge to the photo
    vertical(44, text.bottom() + 1, corner.y() - 1);   // 4: text to the photo

    QFont numbers(QStringLiteral("DejaVu Sans"));
    numbers.setPixelSize(9);
    numbers.setBold(true);
    p.setFont(numbers);
    p.setPen(yellow);
    p.drawText(QRect(30, 1, 8, 11), Qt::AlignCenter, QStringLiteral("1"));
    p.drawText(QRect(6, 27, 8, 11), Qt::AlignCenter, QStringLiteral("2"));
    p.drawText(QRect(10, 81, 8, 11), Qt::AlignCenter, QStringLiteral("3"));
    p.drawText(QRect(48, 40, 8, 11), Qt::AlignCenter, QStringLiteral("4"));
    return image;
}
