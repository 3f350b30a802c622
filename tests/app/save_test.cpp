// A save replaces the data file in one step: a save that fails for any
// reason leaves the file saved before byte for byte, reports the failure
// and keeps the project marked changed.
#include <sys/resource.h>

#include <QDir>
#include <QFileInfo>
#include <csignal>

#include "Exceptions.h"
#include "project_support.h"

namespace korvan::testing {
namespace {

// Files written by this process may not grow beyond `bytes` while it lives,
// as on a full disk: writes fail instead of raising a signal.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) : fHandler(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &fSaved);
    rlimit limit = fSaved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &fSaved);
    std::signal(SIGXFSZ, fHandler);
  }

 private:
  rlimit fSaved{};
  void (*fHandler)(int);
};

TEST_F(ProjectTest, FailedSaveLeavesTheEarlierFileAsItWas) {
  const QString path = SaveAs(QStringLiteral("pile.kv4d"));
  const QByteArray earlier = ReadBytes(path);
  const QFileDevice::Permissions ownerReadWriteGroupRead =
      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
  QFile(path).setPermissions(ownerReadWriteGroupRead);
  Data().Title = QStringLiteral("Edited after saving");
  Tables().SetDataChanged(true);

  {
    TFileSizeLimit fullDisk(16);
    EXPECT_THROW(Data().Save(), EInOutError);
  }
  QDir().mkdir(PathOf(QStringLiteral("folder.kv4d")));
  for (const char* target : {"folder.kv4d", "no such folder/pile.kv4d"}) {
    Data().FileName = PathOf(QString::fromLatin1(target));
    EXPECT_THROW(Data().Save(), EInOutError) << target;
  }
  EXPECT_EQ(ReadBytes(path), earlier);
  EXPECT_TRUE(Tables().GetDataChanged());
  EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("folder.kv4d"))).isDir());
  EXPECT_EQ(QDir(PathOf({})).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("pile.kv4d")});

  // The save that succeeds keeps the file's permissions.
  Data().FileName = path;
  Data().Save();
  EXPECT_TRUE(ReadBytes(path).startsWith("Edited after saving\n"));
  const QFileDevice::Permissions ownerGroupOther(0x7077);
  EXPECT_EQ(QFile(path).permissions() & ownerGroupOther, ownerReadWriteGroupRead);
  EXPECT_FALSE(Tables().GetDataChanged());
}

}  // namespace
}  // namespace korvan::testing
