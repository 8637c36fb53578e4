#include "TemplateOverrides.h"

#include "PanelValues.h"
#include "common/ColorRef.h"
#include "store/ProfileFile.h"

#include <QRegularExpression>

namespace {

struct Range
{
    const char *key;
    qint64 low, high;
};

// The numbers the panel can show; a template's other numbers would leave it as it was.
const Range kRanges[] = {
    {"BorderWidth", 1, PanelValues::FrameSizeCount},
    {"FontSize", 1, 999},
    {"FontAlign", qint64(FooterAlign::Left), qint64(FooterAlign::RightOfAbove)},
    {"Month", -1, PanelValues::MonthCount - 1},
    {"Day", -1, PanelValues::DayCount - 1},
};

constexpr qint64 kMaxColour = 0xFFFFFF;

bool isPanelValue(const TemplateFile::ValueName &n)
{
    const bool itemZeroOrOne =
        n.section.endsWith(QLatin1Char('0')) || n.section.endsWith(QLatin1Char('1'));
    if (n.key == QLatin1String("FontAlign"))
        return !itemZeroOrOne;
    return n.name() != QLatin1String("Header-1.Data");
}

// One line a section: "  Header-2: Data FontName ...".
QString nameList()
{
    QStringList lines;
    QString section;
    for (const TemplateFile::ValueName &n : TemplateOverrides::names()) {
        if (n.section != section) {
            section = n.section;
            lines << QStringLiteral("  ") + section + QLatin1Char(':');
        }
        lines.last() += QLatin1Char(' ') + n.key;
    }
    return lines.join(QLatin1Char('\n'));
}

// The value as the template file writes it, or empty with *error set.
QString fileText(const TemplateFile::ValueName &name, const QString &value,
                 const QStringList &fontNames, QString *error)
{
    using K = TemplateFile::ValueKind;
    const QString v = value.trimmed();
    switch (name.kind) {
    case K::Text:
        if (name.key == QLatin1String("FontName") && !fontNames.contains(v, Qt::CaseInsensitive)) {
            *error = TemplateOverrides::tr("%1: フォント「%2」がありません。").arg(name.name(), v);
            return {};
        }
        return value;
    case K::Integer: {
        static const QRegularExpression digits(QStringLiteral("^-?\\d{1,10}$"));
        const qint64 n = digits.match(v).hasMatch() ? v.toLongLong() : Q_INT64_C(1) << 40;
        for (const Range &r : kRanges) {
            if (name.key != QLatin1String(r.key))
                continue;
            if (n >= r.low && n <= r.high)
                return QString::number(n);
            *error = TemplateOverrides::tr("%1 の値「%2」は %3 から %4 までの整数ではありません。")
                         .arg(name.name(), value)
                         .arg(r.low)
                         .arg(r.high);
        }
        return {};
    }
    case K::Colour: {
        // 0xBBGGRR as in the file, a decimal number, or #RRGGBB as on the web.
        static const QRegularExpression forms(
            QStringLiteral("^(?:0x([0-9a-f]{1,8})|#([0-9a-f]{6})|(\\d{1,10}))$"),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = forms.match(v);
        bool ok = m.hasMatch();
        qint64 n = -1;
        if (ok && m.capturedLength(1) > 0) {
            n = m.captured(1).toLongLong(nullptr, 16);
        } else if (ok && m.capturedLength(2) > 0) {
            const qint64 rgb = m.captured(2).toLongLong(nullptr, 16);
            n = ColorRef::fromColor(QColor(QRgb(rgb)));
        } else if (ok) {
            n = m.captured(3).toLongLong();
        }
        if (ok && n >= 0 && n <= kMaxColour)
            return TemplateFile::toHexString(qint32(n));
        *error =
            TemplateOverrides::tr(
                "%1 の値「%2」は色ではありません（0xBBGGRR、#RRGGBB か 0 から 16777215 の数）。")
                .arg(name.name(), value);
        return {};
    }
    case K::Boolean: {
        bool ok = false;
        const bool flag = TemplateFile::parseBoolean(v, &ok);
        if (ok)
            return flag ? QStringLiteral("True") : QStringLiteral("False");
        *error = TemplateOverrides::tr("%1 の値「%2」は True か False ではありません。")
                     .arg(name.name(), value);
        return {};
    }
    }
    return {};
}

} // namespace

QList<TemplateFile::ValueName> TemplateOverrides::names()
{
    QList<TemplateFile::ValueName> names;
    for (const TemplateFile::ValueName &n : TemplateFile::valueNames()) {
        if (isPanelValue(n))
            names << n;
    }
    return names;
}

bool TemplateOverrides::add(const QString &assignment, const QStringList &fontNames, QString *error)
{
    const qsizetype eq = assignment.indexOf(QLatin1Char('='));
    const QString name = assignment.left(eq).trimmed();
    if (eq < 0 || name.isEmpty()) {
        *error =
            TemplateOverrides::tr("「%1」は 名前=値 の形ではありません（例: Header-0.Data=M42）。")
                .arg(assignment);
        return false;
    }
    for (const TemplateFile::ValueName &n : names()) {
        if (n.name().compare(name, Qt::CaseInsensitive) != 0)
            continue;
        error->clear();
        const QString text = fileText(n, assignment.mid(eq + 1), fontNames, error);
        if (!error->isEmpty())
            return false;
        m_values.append({n, text});
        return true;
    }
    *error = TemplateOverrides::tr(
                 "「%1」は設定できる値の名前ではありません。名前は セクション.キー で、次の"
                 "とおりです:\n%2")
                 .arg(name, nameList());
    return false;
}

void TemplateOverrides::apply(PanelValues &panel, const QStringList &fontNames) const
{
    if (m_values.isEmpty())
        return;
    TemplateFile tpl;
    panel.toTemplate(tpl);
    ProfileFile file;
    tpl.writeTo(file);
    for (const Value &v : m_values)
        file.setValue(v.name.section, v.name.key, v.text);
    TemplateFile changed;
    if (changed.readFrom(file))
        panel.applyTemplate(changed, false, fontNames);
}
