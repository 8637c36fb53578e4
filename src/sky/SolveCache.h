#pragma once

#include "FieldObjects.h"
#include "PlateSolver.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <optional>

// Solves kept in the user's cache folder (~/.cache/morvel/solve), one small JSON file per photo
// and hints: a second solve of the same photo is read back at once.
class SolveCache
{
public:
    struct Entry
    {
        PlateSolver::Result result;
        QList<FieldObjects::Listed> listed;
    };

    // The folder the entries go to; empty for the user's cache folder.
    explicit SolveCache(const QString &folder = QString());
    QString folder() const { return m_folder; }

    // The key of a photo (its file's bytes, else the decoded pixels) and everything else the
    // solve depends on.
    static QString key(const QString &photoPath, const QImage &image, const QString &settings);

    std::optional<Entry> find(const QString &key) const;
    // False, with the reason, when the entry cannot be written; the solve stands all the same.
    bool store(const QString &key, const Entry &entry, QString *reason = nullptr) const;

private:
    QString m_folder;
};
