// Writing a file so that a crash or a failure never leaves a half-written file in its place:
// the bytes go to a temporary file beside it, which is synced and then renamed over it.
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace zabko {

// Replaces (or creates) FileName with Contents. The folder is created when missing. Mode is
// the new file's permission bits (0600 for files holding secrets). Fails with "Cannot write
// file <name>: <reason>" and leaves the old file as it was.
void WriteFileAtomically(const QString& fileName, const QByteArray& contents, mode_t mode = 0644);

// Renames Source over Target in one step (both in the same folder); fails like the above.
void ReplaceFile(const QString& source, const QString& target);

}  // namespace zabko
