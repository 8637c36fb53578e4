#pragma once

#include <QHash>
#include <QString>

// The photos a run reads, known by the file each is on disk, so that no picture is written over
// one of them: not under its own name, nor through a link or another name of the same file.
class InputPhotos
{
public:
    void add(const QString &path);
    // The input photo that writing `output` would replace; empty when none.
    QString overwrittenBy(const QString &output) const;

private:
    // The keys of an existing file: its path with the links resolved and, where the system tells,
    // its device and file number; none for no file.
    static QStringList keys(const QString &path);

    QHash<QString, QString> m_photos; // key -> the photo as named
};
