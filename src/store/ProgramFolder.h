#pragma once

#include <QString>

// Where "nolt.ini" and "default.kvl" live, and where the file dialogs start by default.
namespace ProgramFolder {

struct Place
{
    QString folder;   // holds "nolt.ini" and "default.kvl"; the default of templatePath
    QString pictures; // the default of loadPath and savePath
};

// The place for a program started from executableFolder.
// - A portable install keeps everything in the executable's folder: it asks for that with a
//   "nolt.ini" already there. A build folder (CMake's cache one level up, as ./run.sh builds)
//   is not an install and never counts. On Windows any writable executable folder counts.
// - Otherwise the per-user configuration folder "morvel" (the window program's
//   AppConfigLocation, shared by morvel-compose), created when missing, with the user's Pictures
//   folder for photos. Creating it takes over "nolt.ini" and "default.kvl" from the executable's
//   folder, where earlier versions kept them, by copying: the old files stay as they were.
Place locate(const QString &executableFolder);

// The file name joined to the folder with the platform's separator.
QString filePath(const QString &folder, const QString &fileName);

} // namespace ProgramFolder
