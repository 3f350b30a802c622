// One recovery copy of the project on screen: the project's text as Save
// makes it, written whole into the recovery folder. The main window writes
// it on the user-interface thread every few seconds while the project has
// unsaved changes, so it must pass unnoticed. Target: 20 ms for the project
// at the capacity limits.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "bench/benchmark_projects.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "model/RecoveryStore.h"

namespace {

void BM_RecoveryCopy(benchmark::State& state, const std::string& projectText) {
  QTemporaryDir folder;
  const QString project = folder.filePath(QStringLiteral("pile.kv4d"));
  QFile data(project);
  if (data.open(QIODevice::WriteOnly)) data.write(projectText.data(), qint64(projectText.size()));
  data.close();
  korvan::TInputTables tables;
  korvan::ProgramData = std::make_unique<korvan::TProgramData>(tables);
  if (!korvan::ProgramData->ReadFile(project, korvan::dfKorvan2021).isEmpty()) {
    state.SkipWithError("the project cannot be read");
    return;
  }
  korvan::TRecoveryStore store(folder.filePath(QStringLiteral("recovery")));
  int edit = 0;
  for (auto _ : state) {
    // An edit between copies: an unchanged project is not written again.
    korvan::ProgramData->Title = QStringLiteral("Edit %1").arg(++edit);
    store.Write(korvan::ProgramData->FileBytes(), project, 0);
  }
  state.counters["KB"] = static_cast<double>(QFile(store.CopyFile()).size()) / 1e3;
  korvan::ProgramData.reset();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::RegisterBenchmark("RecoveryCopy/Typical", BM_RecoveryCopy,
                               korvan::benchmark_projects::TypicalProject())
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("RecoveryCopy/Capacity", BM_RecoveryCopy,
                               korvan::benchmark_projects::CapacityProject())
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
