#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;

// Files written whole or not at all: the contents go to a temporary file beside the target,
// which takes the target's place only once every byte has been written and flushed. On failure
// the file on disk is as it was, and the reason is the system's own (a full disk says so rather
// than "Unknown error").
//
// A folder the user may not change can still hold a file the user may rewrite. There the new
// contents are made in memory first and the room for them is taken before the old bytes are
// overwritten in place, so the file keeps its hard links, owner and permissions.
namespace AtomicFile {

// Writes the contents with `fill`. It returns false when a write failed (the system's error is
// then taken as the reason) or false with *reason set for a failure of its own.
using Fill = std::function<bool(QIODevice &out, QString *reason)>;
bool write(const QString &path, const Fill &fill, QString *reason);

bool write(const QString &path, QByteArrayView bytes, QString *reason);

} // namespace AtomicFile
