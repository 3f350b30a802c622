// Arbitrary bytes as a project data file opened by the desktop program. The
// first byte chooses the generation by its remainder modulo 3, so that the
// digits name theirs: '4' the current ".kv4d", '3' ".kv3d", '2' ".kvd"; the
// rest is the file. Reading ends with a project, complete or partly read,
// and at most a message; never a crash, a hang or a huge allocation. A
// project that was read then saves, reads back without a message, and saves
// again to the same bytes.
#include <array>
#include <cstddef>
#include <cstdint>

#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "qt_fuzz_support.h"

namespace {

using korvan::TDataFileFormat;

struct TGeneration {
  TDataFileFormat format;
  const char* fileName;
};

constexpr std::array<TGeneration, 3> kGenerations{{
    {korvan::dfKorvan2014, "pile.kv3d"},  // '3' % 3 == 0
    {korvan::dfKorvan2021, "pile.kv4d"},  // '4' % 3 == 1
    {korvan::dfKorvan20, "pile.kvd"},     // '2' % 3 == 2
}};

// The tables belong to the one project; like the main window's, they live
// as long as the process.
korvan::TInputTables& Tables() {
  static korvan::TInputTables* const tables = new korvan::TInputTables();
  return *tables;
}

QByteArray SaveAs(korvan::TProgramData& project, const QString& name) {
  project.FileName = korvan::fuzz::ScratchFolder() + QLatin1Char('/') + name;
  project.Save();
  return korvan::fuzz::ReadScratchFile(project.FileName);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korvan::fuzz::Require;
  if (size == 0) return 0;
  korvan::fuzz::EnsureApplication();
  const TGeneration& generation = kGenerations[data[0] % kGenerations.size()];
  const QString path =
      korvan::fuzz::WriteScratchFile(QString::fromLatin1(generation.fileName), data + 1, size - 1);

  QByteArray saved;
  {
    korvan::TProgramData project(Tables());
    project.ReadFile(path, generation.format);
    try {
      saved = SaveAs(project, QStringLiteral("saved.kv4d"));
    } catch (const korvan::EInOutError&) {
      return 0;  // a value the file format cannot hold is refused, not written
    }
  }
  korvan::TProgramData reopened(Tables());
  const QString message = reopened.ReadFile(
      korvan::fuzz::ScratchFolder() + QStringLiteral("/saved.kv4d"), korvan::dfKorvan2021);
  Require(message.isEmpty(), "a saved project reads back without a message",
          message + QStringLiteral("\n--- saved:\n") + QString::fromUtf8(saved));
  const QByteArray savedAgain = SaveAs(reopened, QStringLiteral("again.kv4d"));
  Require(savedAgain == saved, "a project read back saves to the same bytes",
          QStringLiteral("--- first:\n%1\n--- again:\n%2")
              .arg(QString::fromUtf8(saved), QString::fromUtf8(savedAgain)));
  return 0;
}
