#include "SkyCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace {

struct TypeCode
{
    const char *code;
    SkyObject::Type type;
};

const TypeCode kTypes[] = {
    {"G", SkyObject::Type::Galaxy},
    {"GGroup", SkyObject::Type::GalaxyGroup},
    {"OCl", SkyObject::Type::OpenCluster},
    {"GCl", SkyObject::Type::GlobularCluster},
    {"Neb", SkyObject::Type::Nebula},
    {"PN", SkyObject::Type::PlanetaryNebula},
    {"SNR", SkyObject::Type::SupernovaRemnant},
    {"DrkN", SkyObject::Type::DarkNebula},
    {"*Ass", SkyObject::Type::StarCloud},
    {"**", SkyObject::Type::DoubleStar},
};

SkyObject::Type typeOf(const QString &code)
{
    for (const TypeCode &t : kTypes) {
        if (code == QLatin1String(t.code))
            return t.type;
    }
    return SkyObject::Type::Other;
}

// A number of the table, 0 for an empty field; nothing when it does not read.
std::optional<double> field(const QString &text)
{
    if (text.isEmpty())
        return 0.0;
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<SkyObject> objectOf(const QStringList &f)
{
    if (f.size() != 12 || f[0].isEmpty())
        return std::nullopt;
    SkyObject o;
    o.designation = f[0];
    o.messier = f[1].toInt();
    o.caldwell = f[2].toInt();
    o.type = typeOf(f[3]);
    const auto ra = field(f[4]);
    const auto dec = field(f[5]);
    const auto major = field(f[6]);
    const auto minor = field(f[7]);
    const auto angle = field(f[8]);
    if (!ra || !dec || !major || !minor || !angle || f[4].isEmpty() || f[5].isEmpty() || *ra < 0 ||
        *ra >= 360 || std::fabs(*dec) > 90 || *major < 0 || *minor < 0)
        return std::nullopt;
    o.position = {*ra, *dec};
    o.majorAxis = *major;
    o.minorAxis = *minor > 0 ? *minor : *major;
    o.positionAngle = *angle;
    o.englishName = f[9];
    o.japaneseName = f[10];
    o.aliases = f[11].split(u',', Qt::SkipEmptyParts);
    return o;
}

// Text that names the same thing written another way: full-width forms folded, no blanks.
QString folded(const QString &text)
{
    QString t = text.normalized(QString::NormalizationForm_KC).toUpper();
    t.remove(QRegularExpression(QStringLiteral("[\\s\\-_]")));
    return t;
}

} // namespace

QString SkyObject::name(AppSettings::Language language) const
{
    return language == AppSettings::Language::English ? englishName : japaneseName;
}

QString SkyObject::shortLabel() const
{
    return messier > 0 ? QStringLiteral("M %1").arg(messier) : designation;
}

QString SkyObject::label(AppSettings::Language language) const
{
    QString text = shortLabel();
    if (messier > 0 && designation != text)
        text += QStringLiteral(" (%1)").arg(designation);
    const QString common = name(language);
    return common.isEmpty() ? text : text + QLatin1Char(' ') + common;
}

const SkyCatalogue &SkyCatalogue::builtIn()
{
    static const SkyCatalogue catalogue = [] {
        QFile file(QStringLiteral(":/sky/objects.csv"));
        return fromCsv(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }();
    return catalogue;
}

SkyCatalogue SkyCatalogue::fromCsv(const QByteArray &csv)
{
    SkyCatalogue c;
    const QList<QByteArray> lines = csv.split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith('#') || line.startsWith("designation;"))
            continue;
        const auto object = objectOf(QString::fromUtf8(line).trimmed().split(u';'));
        if (!object)
            continue;
        const int index = int(c.m_objects.size());
        c.m_objects.append(*object);
        QStringList names = object->aliases;
        names << object->designation << object->englishName << object->japaneseName;
        if (object->messier > 0)
            names << QStringLiteral("M%1").arg(object->messier);
        if (object->caldwell > 0)
            names << QStringLiteral("C%1").arg(object->caldwell);
        for (const QString &n : std::as_const(names)) {
            if (!n.isEmpty() && !c.m_byKey.contains(key(n)))
                c.m_byKey.insert(key(n), index);
        }
    }
    return c;
}

QString SkyCatalogue::key(const QString &name)
{
    static const QRegularExpression designation(
        QStringLiteral("^(MESSIER|CALDWELL|[A-Z]+)0*(\\d.*)$"));
    QString k = folded(name);
    const QRegularExpressionMatch m = designation.match(k);
    if (!m.hasMatch())
        return k;
    QString prefix = m.captured(1);
    if (prefix == QLatin1String("MESSIER"))
        prefix = QStringLiteral("M");
    else if (prefix == QLatin1String("CALDWELL"))
        prefix = QStringLiteral("C");
    return prefix + m.captured(2);
}

const SkyObject *SkyCatalogue::find(const QString &name) const
{
    auto it = m_byKey.constFind(key(name));
    if (it == m_byKey.constEnd()) {
        // A designation followed by more text: "M8 干潟星雲", "NGC 7000 North America".
        static const QRegularExpression leading(
            QStringLiteral(
                "^\\s*((?:MESSIER|CALDWELL|M|C|NGC|IC|SH\\s*2|MEL|CR|B|HCG)[\\s\\-]*\\d+)(?!\\d)"),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m =
            leading.match(name.normalized(QString::NormalizationForm_KC));
        if (m.hasMatch())
            it = m_byKey.constFind(key(m.captured(1)));
    }
    return it == m_byKey.constEnd() ? nullptr : &m_objects[*it];
}
