#pragma once

#include "store/TemplateFile.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

struct PanelValues;

// Template values named on a command line, "Header-0.Data=M42" or "Frame.BorderWidth=3", applied
// to the panel exactly as a template file holding them would be.
class TemplateOverrides
{
    Q_DECLARE_TR_FUNCTIONS(TemplateOverrides)

public:
    // Takes one "Section.Key=Value" (names in any letter case). False, with *error set and
    // nothing taken, for a name that is not one of names() (the message lists them), a value of
    // the wrong kind or out of the panel's range, or a font that is not installed.
    bool add(const QString &assignment, const QStringList &fontNames, QString *error);

    bool isEmpty() const { return m_values.isEmpty(); }

    // The values in the order given, the later of two for one name winning.
    void apply(PanelValues &panel, const QStringList &fontNames) const;

    // Every template value the panel reads: all but Header-1.Data and the alignment of items 0
    // and 1.
    static QList<TemplateFile::ValueName> names();

private:
    struct Value
    {
        TemplateFile::ValueName name;
        QString text; // as a template file holds it
    };
    QList<Value> m_values;
};
