// Writing a file so that a crash or a failure never leaves a half-written file in its place:
// the bytes go to a temporary file beside it, which is synced and then renamed over it.
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace zabko {

// The permission bits of files holding a user's data or secrets (settings, answers, log-off
// data): only the owner may read them.
inline constexpr mode_t kPrivateFileMode = 0600;

// Replaces (or creates) FileName with Contents. The folder is created when missing. Mode is
// the new file's permission bits (kPrivateFileMode for a user's data). Fails with "Cannot write
// file <name>: <reason>" and leaves the old file as it was. Temporary copies that earlier
// writes of the same file left when they were killed before their rename are removed first.
void WriteFileAtomically(const QString& fileName, const QByteArray& contents, mode_t mode = 0644);

// Renames Source over Target in one step (both in the same folder); fails like the above.
void ReplaceFile(const QString& source, const QString& target);

}  // namespace zabko
