// A save replaces the data file in one step: a save that fails for any
// reason leaves the file saved before byte for byte, reports the failure
// and keeps the project marked changed.
#include <QDir>
#include <QFileInfo>
#include <functional>
#include <limits>

#include "model/Exceptions.h"
#include "support/file_size_limit.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

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

// The largest real rounds beyond itself at eight digits, and reals below the
// smallest normal one do not read: a project holding one is refused by name
// rather than written into a file that cannot be opened again.
TEST_F(ProjectTest, NumbersThatWouldNotReadBackAreRefusedByName) {
  const QString path = SaveAs(QStringLiteral("pile.kv4d"));
  const QByteArray earlier = ReadBytes(path);
  constexpr long double kLargest = std::numeric_limits<long double>::max();
  constexpr long double kSubnormal = std::numeric_limits<long double>::denorm_min() * 1000;
  const std::vector<std::pair<std::function<void()>, QString>> cases = {
      {[&] { Tables().PileStiffness().SetFloatValue(1, 0, kLargest); },
       "row 1 of \"Axial Stiffness (AE) of Pile Sections\""},
      {[&] { Data().Tolerance = -kLargest; }, "the tolerance"},
      {[&] { Data().PLength = kSubnormal; }, "the pile length"},
      {[&] { Tables().SoilLayers().SetFloatValue(1, 0, kSubnormal); }, "a layer depth"},
  };
  for (const auto& [change, what] : cases) {
    ProgramData = std::make_unique<TProgramData>(Tables());
    change();
    Data().FileName = path;
    QString message;
    try {
      Data().Save();
    } catch (const EInOutError& error) {
      message = error.Message();
    }
    EXPECT_EQ(message, QStringLiteral("The project cannot be saved: %1 is beyond the numbers a "
                                      "data file holds.")
                           .arg(what));
    EXPECT_EQ(ReadBytes(path), earlier) << what.toStdString();
  }

  // Far out, but within what reads back.
  ProgramData = std::make_unique<TProgramData>(Tables());
  Tables().PileStiffness().SetFloatValue(1, 0, 1.1897314E4932L);
  Data().PLength = 1E-4931L;
  const QByteArray saved = ReadBytes(SaveAs(QStringLiteral("far.kv4d")));
  EXPECT_EQ(Reopen(PathOf(QStringLiteral("far.kv4d"))), QString());
  EXPECT_EQ(ReadBytes(SaveAs(QStringLiteral("again.kv4d"))), saved);
}

}  // namespace
}  // namespace korvan::testing
