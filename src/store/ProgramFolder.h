#pragma once

#include <QString>

// Where "nolt.ini" and "default.kvl" live: the executable's folder when it is writable (a portable
// install, the build folder), otherwise the per-user configuration folder.
namespace ProgramFolder {

QString resolve(const QString &executableFolder);

// The file name joined to the folder with the platform's separator.
QString filePath(const QString &folder, const QString &fileName);

} // namespace ProgramFolder
