#pragma once

#include <QString>

// The folder of an existing file, absolute and in the system's separators ("/photos/m42.jpg"
// gives "/photos", "/m42.jpg" gives "/"). Empty text when no file exists at the path, so that a
// folder remembered from a dialog is always one that held the file.
QString existingFolder(const QString &path);
