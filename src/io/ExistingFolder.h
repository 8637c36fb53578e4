#pragma once

#include <QString>

// The folder of an existing file: the path up to its last separator, without a trailing separator
// except for a root ("/photos/m42.jpg" gives "/photos", "/m42.jpg" gives "/", on Windows
// "C:\m42.jpg" gives "C:\"). Empty text when no file exists at the path.
QString existingFolder(const QString &path);
