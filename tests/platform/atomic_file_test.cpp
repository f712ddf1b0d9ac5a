#include "platform/atomic_file.h"

#include "tests/common/test_util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zabko {
namespace {

// A temporary copy as a write leaves it: ".<name>.XXXXXX" beside the file. Locked, it stands
// for a write still going on in another process; the descriptor is returned for the test to
// close.
int LeaveTemporary(const QString& folder, const QString& name, bool locked) {
  QByteArray path = QFile::encodeName(folder + "/." + name + ".XXXXXX");
  const int fd = ::mkstemp(path.data());
  EXPECT_GE(fd, 0);
  EXPECT_EQ(::write(fd, "a full copy", 11), 11);
  if (locked) EXPECT_EQ(::flock(fd, LOCK_EX), 0);
  return fd;
}

TEST(AtomicFile, TemporariesOfKilledWritesAreRemovedAtTheNextWrite) {
  QTemporaryDir dir;
  const QString file = dir.filePath("U1.answers");
  for (int i = 0; i < 3; ++i) ::close(LeaveTemporary(dir.path(), "U1.answers", false));
  const int live = LeaveTemporary(dir.path(), "U1.answers", true);
  const int other = LeaveTemporary(dir.path(), "U2.answers", false);
  ASSERT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);

  WriteFileAtomically(file, "queue", kPrivateFileMode);
  // What is left: the file, the copy of a write still going on, and another file's copy.
  QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(left.size(), 3) << left.join(' ').toStdString();
  EXPECT_TRUE(left.contains("U1.answers"));
  EXPECT_EQ(left.filter(".U2.answers.").size(), 1);
  EXPECT_EQ(test::FileMode(file), 0600);
  ::close(live);
  ::close(other);
  WriteFileAtomically(file, "queue 2", kPrivateFileMode);
  left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(left.size(), 2) << left.join(' ').toStdString();
}

}  // namespace
}  // namespace zabko
