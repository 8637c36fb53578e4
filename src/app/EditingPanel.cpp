#include "EditingPanel.h"

#include "AlignButton.h"
#include "AppIcons.h"
#include "ColorSwatch.h"
#include "ui/NumberInputFilter.h"
#include "ui/Twips.h"
#include "ui/UiFonts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QToolButton>

#include <utility>

namespace {

// Every control's rectangle in twips inside the panel, as the window is laid out before it is
// first shown. The date fields move with the date order (DateFieldLefts).
struct Placement
{
    const char *name;
    Twips::Rect rect;
};

constexpr Placement Placements[] = {
    {"picDemo", {60, 60, 1710, 1725}},
    {"lblTag(10)", {1890, 165, 975, 225}},
    {"cboPhotoSize", {2910, 120, 1515, 300}},
    {"lblTag(13)", {1890, 495, 975, 225}},
    {"cboFrameSize", {2910, 450, 855, 300}},
    {"lblTag(14)", {1890, 795, 975, 225}},
    {"picFrameColor", {2910, 780, 555, 255}},
    {"lblTag(11)", {3540, 795, 675, 225}},
    {"picBackColor", {4260, 780, 555, 255}},
    {"cmdPreview", {1920, 1170, 2325, 600}},
    {"lblTag(0)", {60, 1972, 135, 300}},
    {"lblTag(1)", {60, 2310, 135, 300}},
    {"lblTag(2)", {60, 2632, 135, 300}},
    {"lblTag(3)", {60, 2962, 135, 300}},
    {"lblTag(4)", {60, 3292, 135, 300}},
    {"txtTargetName", {210, 1980, 4395, 285}},
    {"cboMonth", {210, 2310, 825, 300}},
    {"cboDay", {1050, 2310, 645, 300}},
    {"txtYear", {1710, 2325, 615, 285}},
    {"txtTime", {2430, 2325, 1005, 285}},
    {"cmdNowDate", {3480, 2325, 1125, 285}},
    {"txtFooter(0)", {210, 2640, 4395, 285}},
    {"txtFooter(1)", {210, 2970, 4395, 285}},
    {"txtFooter(2)", {210, 3300, 4395, 285}},
    {"lblTag(5)", {60, 3780, 135, 300}},
    {"cboFontName(0)", {210, 3780, 1845, 300}},
    {"txtFontSize(0)", {2070, 3780, 435, 300}},
    {"picFontColor(0)", {2520, 3780, 435, 300}},
    {"chkBold(0)", {3000, 3780, 285, 300}},
    {"chkItalic(0)", {3300, 3780, 285, 300}},
    {"chkStrikethrough(0)", {3600, 3780, 285, 300}},
    {"chkUnderline(0)", {3900, 3780, 285, 300}},
    {"lblTag(6)", {60, 4080, 135, 300}},
    {"cboFontName(1)", {210, 4080, 1845, 300}},
    {"txtFontSize(1)", {2070, 4080, 435, 300}},
    {"picFontColor(1)", {2520, 4080, 435, 300}},
    {"chkBold(1)", {3000, 4080, 285, 300}},
    {"chkItalic(1)", {3300, 4080, 285, 300}},
    {"chkStrikethrough(1)", {3600, 4080, 285, 300}},
    {"chkUnderline(1)", {3900, 4080, 285, 300}},
    {"lblTag(7)", {60, 4380, 135, 300}},
    {"cboFontName(2)", {210, 4380, 1845, 300}},
    {"txtFontSize(2)", {2070, 4380, 435, 300}},
    {"picFontColor(2)", {2520, 4380, 435, 300}},
    {"chkBold(2)", {3000, 4380, 285, 300}},
    {"chkItalic(2)", {3300, 4380, 285, 300}},
    {"chkStrikethrough(2)", {3600, 4380, 285, 300}},
    {"chkUnderline(2)", {3900, 4380, 285, 300}},
    {"tlbFontAlign(2)", {4230, 4335, 555, 390}},
    {"lblTag(8)", {60, 4680, 135, 300}},
    {"cboFontName(3)", {210, 4680, 1845, 300}},
    {"txtFontSize(3)", {2070, 4680, 435, 300}},
    {"picFontColor(3)", {2520, 4680, 435, 300}},
    {"chkBold(3)", {3000, 4680, 285, 300}},
    {"chkItalic(3)", {3300, 4680, 285, 300}},
    {"chkStrikethrough(3)", {3600, 4680, 285, 300}},
    {"chkUnderline(3)", {3900, 4680, 285, 300}},
    {"tlbFontAlign(3)", {4230, 4635, 555, 390}},
    {"lblTag(9)", {60, 4980, 135, 300}},
    {"cboFontName(4)", {210, 4980, 1845, 300}},
    {"txtFontSize(4)", {2070, 4980, 435, 300}},
    {"picFontColor(4)", {2520, 4980, 435, 300}},
    {"chkBold(4)", {3000, 4980, 285, 300}},
    {"chkItalic(4)", {3300, 4980, 285, 300}},
    {"chkStrikethrough(4)", {3600, 4980, 285, 300}},
    {"chkUnderline(4)", {3900, 4980, 285, 300}},
    {"tlbFontAlign(4)", {4230, 4935, 555, 390}},
};

// The panel is this wide, and tall enough for the last alignment toolbar with a margin below.
constexpr int PanelWidth = 4905;
constexpr int PanelMinimumHeight = 4935 + 390 + 60;

// Lefts of txtYear, cboMonth and cboDay for each date order; the fields keep their row.
constexpr int YearFirstLefts[] = {210, 855, 1710};
constexpr int MonthFirstLefts[] = {1740, 210, 1065};

const char *const PhotoSizes[] = {"160x120", "240x180", "320x240", "480x360", "640x480", "800x600"};
const char *const InitialTime = "XX:XX";

Twips::Rect placementOf(const QString &name)
{
    for (const Placement &p : Placements) {
        if (name == QLatin1String(p.name))
            return p.rect;
    }
    Q_ASSERT_X(false, "EditingPanel", "a control without a placement");
    return {};
}

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QFont panelFont()
{
    return QFont(QString::fromUtf16(UiFonts::PGothic), 9);
}

} // namespace

template <class W, class... Args> W *EditingPanel::add(const QString &name, Args &&...args)
{
    auto *widget = new W(std::forward<Args>(args)..., this);
    widget->setObjectName(name);
    Twips::place(widget, placementOf(name));
    return widget;
}

EditingPanel::EditingPanel(NumberInputFilter &hook, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    const QSize size = Twips::toPixels(PanelWidth, PanelMinimumHeight);
    setFixedWidth(size.width());
    setMinimumHeight(size.height());
    setFont(panelFont());

    picDemo = add<QLabel>(QStringLiteral("picDemo"));
    picDemo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picDemo->setLineWidth(1);
    picDemo->setAlignment(Qt::AlignCenter);
    picDemo->setPixmap(QPixmap::fromImage(AppIcons::layoutIllustration()));

    const auto label = [this](int index, const QString &caption) {
        lblTag[index] = add<QLabel>(indexed("lblTag", index), caption);
        return lblTag[index];
    };
    label(10, tr("枠の大きさ"));
    cboPhotoSize = add<QComboBox>(QStringLiteral("cboPhotoSize"));
    cboPhotoSize->setEditable(true);
    cboPhotoSize->setInsertPolicy(QComboBox::NoInsert);
    // The box takes exactly what is typed: no completion of "32" to "320x240".
    cboPhotoSize->setCompleter(nullptr);
    for (const char *photoSize : PhotoSizes)
        cboPhotoSize->addItem(QString::fromLatin1(photoSize));
    hook.guardPhotoSize(cboPhotoSize);
    lblTag[10]->setBuddy(cboPhotoSize);

    label(13, tr("枠の太さ"));
    cboFrameSize = add<QComboBox>(QStringLiteral("cboFrameSize"));
    for (int i = 0; i < PanelValues::FrameSizeCount; ++i)
        cboFrameSize->addItem(PanelValues::frameSizeListText(i));
    lblTag[13]->setBuddy(cboFrameSize);

    label(14, tr("枠の色"));
    picFrameColor = add<ColorSwatch>(QStringLiteral("picFrameColor"));
    label(11, tr("背景色"));
    picBackColor = add<ColorSwatch>(QStringLiteral("picBackColor"));

    cmdPreview =
        add<QPushButton>(QStringLiteral("cmdPreview"), AppIcons::previewIcon(), tr("Preview..."));
    cmdPreview->setIconSize(QSize(24, 24));
    connect(cmdPreview, &QPushButton::clicked, this, &EditingPanel::previewClicked);

    for (int i = 0; i < PanelValues::ItemCount; ++i) {
        addMarker(i, i);
        addMarker(5 + i, i);
    }

    txtTargetName = add<QLineEdit>(QStringLiteral("txtTargetName"));
    cboMonth = add<QComboBox>(QStringLiteral("cboMonth"));
    cboDay = add<QComboBox>(QStringLiteral("cboDay"));
    for (int i = 0; i < PanelValues::DayCount; ++i)
        cboDay->addItem(PanelValues::dayListText(i));
    txtYear = add<QLineEdit>(QStringLiteral("txtYear"));
    hook.guard(txtYear, NumberInputFilter::AllowDigits);
    txtTime = add<QLineEdit>(QStringLiteral("txtTime"), QString::fromLatin1(InitialTime));
    cmdNowDate = add<QPushButton>(QStringLiteral("cmdNowDate"), tr("現在日時"));
    cmdNowDate->setToolTip(tr("現在日時を設定"));
    connect(cmdNowDate, &QPushButton::clicked, this, &EditingPanel::nowDateClicked);
    m_dateOrder = {cboMonth, cboDay, txtYear};

    for (int k = 0; k < PanelValues::FooterCount; ++k)
        txtFooter[k] = add<QLineEdit>(indexed("txtFooter", k));

    for (int i = 0; i < PanelValues::ItemCount; ++i) {
        cboFontName[i] = add<QComboBox>(indexed("cboFontName", i));
        cboFontName[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        txtFontSize[i] = add<QLineEdit>(indexed("txtFontSize", i));
        hook.guard(txtFontSize[i], NumberInputFilter::AllowDigits);
        picFontColor[i] = add<ColorSwatch>(indexed("picFontColor", i));
        chkBold[i] = addToggle(indexed("chkBold", i), "B", tr("太字"), nullptr);
        chkItalic[i] = addToggle(indexed("chkItalic", i), "I", tr("斜体"), &QFont::setItalic);
        chkStrikethrough[i] =
            addToggle(indexed("chkStrikethrough", i), "S", tr("取り消し線"), &QFont::setStrikeOut);
        chkUnderline[i] =
            addToggle(indexed("chkUnderline", i), "U", tr("下線"), &QFont::setUnderline);
    }
    for (ColorSwatch *swatch : {picFrameColor, picBackColor, picFontColor[0], picFontColor[1],
                                picFontColor[2], picFontColor[3], picFontColor[4]})
        connect(swatch, &ColorSwatch::clicked, this, [this, swatch] { emit colorClicked(swatch); });

    for (int i = 2; i < PanelValues::ItemCount; ++i) {
        tlbFontAlign[i] = add<AlignButton>(indexed("tlbFontAlign", i), i != 2);
        connect(tlbFontAlign[i], &QToolButton::clicked, this, [this, i] { stepAlignment(i); });
        connect(tlbFontAlign[i], &AlignButton::entryChosen, this,
                [this, i](int n) { chooseAlignment(i, n); });
    }
    applyTabOrder();
    watchEdits();
}

// Every control that holds a value tells when it changes.
void EditingPanel::watchEdits()
{
    for (QLineEdit *edit :
         {txtTargetName, txtYear, txtTime, txtFooter[0], txtFooter[1], txtFooter[2], txtFontSize[0],
          txtFontSize[1], txtFontSize[2], txtFontSize[3], txtFontSize[4]})
        connect(edit, &QLineEdit::textChanged, this, &EditingPanel::noteEdit);
    connect(cboPhotoSize, &QComboBox::currentTextChanged, this, &EditingPanel::noteEdit);
    for (QComboBox *list : {cboFrameSize, cboMonth, cboDay, cboFontName[0], cboFontName[1],
                            cboFontName[2], cboFontName[3], cboFontName[4]})
        connect(list, &QComboBox::currentIndexChanged, this, &EditingPanel::noteEdit);
    for (int i = 0; i < PanelValues::ItemCount; ++i) {
        for (QToolButton *toggle : {chkBold[i], chkItalic[i], chkStrikethrough[i], chkUnderline[i]})
            connect(toggle, &QToolButton::toggled, this, &EditingPanel::noteEdit);
    }
    for (ColorSwatch *swatch : {picFrameColor, picBackColor, picFontColor[0], picFontColor[1],
                                picFontColor[2], picFontColor[3], picFontColor[4]})
        connect(swatch, &ColorSwatch::colorChanged, this, &EditingPanel::noteEdit);
}

void EditingPanel::noteEdit()
{
    if (m_filling == 0)
        emit edited();
}

// lblTag(index): a marker in the colour of the item whose text or font row it stands beside.
QLabel *EditingPanel::addMarker(int index, int item)
{
    QLabel *marker = lblTag[index] = add<QLabel>(indexed("lblTag", index));
    marker->setAutoFillBackground(true);
    QPalette palette = marker->palette();
    palette.setColor(QPalette::Window, AppIcons::itemColor(item));
    marker->setPalette(palette);
    return marker;
}

// A check box drawn as a toggle button, its letter in bold with the style it switches.
QToolButton *EditingPanel::addToggle(const QString &name, const char *caption, const QString &tip,
                                     void (QFont::*style)(bool))
{
    auto *button = add<QToolButton>(name);
    button->setCheckable(true);
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(tip);
    QFont font = panelFont();
    font.setBold(true);
    if (style)
        (font.*style)(true);
    button->setFont(font);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

void EditingPanel::applyTabOrder()
{
    QList<QWidget *> chain = {cboPhotoSize, cboFrameSize, picFrameColor,
                              picBackColor, cmdPreview,   txtTargetName};
    chain << m_dateOrder[0] << m_dateOrder[1] << m_dateOrder[2];
    chain << txtTime << cmdNowDate << txtFooter[0] << txtFooter[1] << txtFooter[2];
    for (int i = 0; i < PanelValues::ItemCount; ++i) {
        chain << cboFontName[i] << txtFontSize[i] << picFontColor[i] << chkBold[i] << chkItalic[i]
              << chkStrikethrough[i] << chkUnderline[i];
        if (tlbFontAlign[i])
            chain << tlbFontAlign[i];
    }
    for (qsizetype k = 0; k + 1 < chain.size(); ++k)
        QWidget::setTabOrder(chain[k], chain[k + 1]);
}

PanelValues EditingPanel::panelValues() const
{
    PanelValues v;
    v.photoSizeText = cboPhotoSize->currentText();
    v.frameColor = picFrameColor->color();
    v.backColor = picBackColor->color();
    v.frameSizeIndex = cboFrameSize->currentIndex();
    v.targetName = txtTargetName->text();
    v.monthIndex = cboMonth->currentIndex();
    v.englishMonths = m_monthListEnglish;
    v.dayIndex = cboDay->currentIndex();
    v.year = txtYear->text();
    v.time = txtTime->text();
    for (int k = 0; k < PanelValues::FooterCount; ++k) {
        v.footer[k] = txtFooter[k]->text();
        v.align[k] = tlbFontAlign[k + 2]->alignment();
    }
    for (int i = 0; i < PanelValues::ItemCount; ++i) {
        PanelValues::FontRow &row = v.fonts[i];
        row.fontName =
            cboFontName[i]->currentIndex() >= 0 ? cboFontName[i]->currentText() : QString();
        row.fontSize = txtFontSize[i]->text();
        row.fontColor = picFontColor[i]->color();
        row.bold = chkBold[i]->isChecked();
        row.italic = chkItalic[i]->isChecked();
        row.strikethrough = chkStrikethrough[i]->isChecked();
        row.underline = chkUnderline[i]->isChecked();
    }
    return v;
}

void EditingPanel::setPanelValues(const PanelValues &v)
{
    const QScopedValueRollback filling(m_filling, m_filling + 1);
    auto select = [](QComboBox *list, int index) {
        if (index >= -1 && index < list->count())
            list->setCurrentIndex(index);
    };
    cboPhotoSize->setEditText(v.photoSizeText);
    picFrameColor->setColor(v.frameColor);
    picBackColor->setColor(v.backColor);
    select(cboFrameSize, v.frameSizeIndex);
    txtTargetName->setText(v.targetName);
    if (v.englishMonths != m_monthListEnglish) {
        cboMonth->clear();
        cboMonth->addItems(PanelValues::monthListTexts(v.englishMonths));
        m_monthListEnglish = v.englishMonths;
    }
    select(cboMonth, v.monthIndex);
    select(cboDay, v.dayIndex);
    txtYear->setText(v.year);
    txtTime->setText(v.time);
    for (int k = 0; k < PanelValues::FooterCount; ++k) {
        txtFooter[k]->setText(v.footer[k]);
        tlbFontAlign[k + 2]->setAlignment(v.align[k]);
    }
    // A text longer than its box shows its beginning.
    for (QLineEdit *edit : {txtTargetName, txtFooter[0], txtFooter[1], txtFooter[2]})
        edit->setCursorPosition(0);
    for (int i = 0; i < PanelValues::ItemCount; ++i) {
        const PanelValues::FontRow &row = v.fonts[i];
        int index = row.fontName.isEmpty() ? -1 : cboFontName[i]->findText(row.fontName);
        if (index < 0 && !row.fontName.isEmpty())
            index = cboFontName[i]->findText(row.fontName, Qt::MatchFixedString);
        cboFontName[i]->setCurrentIndex(index);
        txtFontSize[i]->setText(row.fontSize);
        picFontColor[i]->setColor(row.fontColor);
        chkBold[i]->setChecked(row.bold);
        chkItalic[i]->setChecked(row.italic);
        chkStrikethrough[i]->setChecked(row.strikethrough);
        chkUnderline[i]->setChecked(row.underline);
    }
}

void EditingPanel::setFontNames(const QStringList &names)
{
    const QScopedValueRollback filling(m_filling, m_filling + 1);
    m_fontNames = names;
    for (QComboBox *list : cboFontName) {
        list->clear();
        list->addItems(names);
        list->setCurrentIndex(-1);
    }
}

void EditingPanel::fillMonthList(bool englishMonths)
{
    const QScopedValueRollback filling(m_filling, m_filling + 1);
    m_monthListEnglish = englishMonths;
    cboMonth->clear();
    cboMonth->addItems(PanelValues::monthListTexts(englishMonths));
    cboMonth->setCurrentIndex(-1);
}

int EditingPanel::monthIndex() const
{
    return cboMonth->currentIndex();
}

void EditingPanel::setMonthIndex(int index)
{
    const QScopedValueRollback filling(m_filling, m_filling + 1);
    cboMonth->setCurrentIndex(index);
}

void EditingPanel::arrangeDateFields(std::optional<DateOrder> order)
{
    if (!order)
        return;
    const bool yearFirst = *order == DateOrder::YearMonthDay;
    const int *lefts = yearFirst ? YearFirstLefts : MonthFirstLefts;
    QWidget *const fields[] = {txtYear, cboMonth, cboDay};
    for (int k = 0; k < 3; ++k)
        fields[k]->move(Twips::toPixels(lefts[k], Twips::screen().x), fields[k]->y());
    m_dateOrder = yearFirst ? std::array<QWidget *, 3>{txtYear, cboMonth, cboDay}
                            : std::array<QWidget *, 3>{cboMonth, cboDay, txtYear};
    applyTabOrder();
}

void EditingPanel::setDateAndTime(const QDateTime &now)
{
    PanelValues v;
    v.setDateAndTime(now);
    cboMonth->setCurrentIndex(v.monthIndex);
    cboDay->setCurrentIndex(v.dayIndex);
    txtYear->setText(v.year);
    txtTime->setText(v.time);
}

void EditingPanel::stepAlignment(int index)
{
    if (index >= 2 && index <= 4) {
        tlbFontAlign[index]->stepToNext();
        noteEdit();
    }
}

void EditingPanel::chooseAlignment(int index, int entry)
{
    if (index >= 2 && index <= 4 && entry >= 1 && entry <= AlignButton::EntryCount) {
        tlbFontAlign[index]->chooseEntry(entry);
        noteEdit();
    }
}
