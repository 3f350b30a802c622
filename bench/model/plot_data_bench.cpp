// ReadPlotData on the plot file of the typical benchmark project and of the
// one at the engine's capacity limits (about 10 MB). Targets: 5 ms and
// 200 ms.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/benchmark_projects.h"
#include "engine/run.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"

namespace {

struct TRunFiles {
  QString project;
  QString plot;
};

QTemporaryDir& Folder() {
  static QTemporaryDir folder;
  return folder;
}

// The project's data file and the plot file of its run, made once.
TRunFiles MakeRun(const char* name, const std::string& projectText) {
  const QString base = Folder().filePath(QLatin1String(name));
  TRunFiles files{base + QStringLiteral(".kv4d"), base + QStringLiteral(".kv4p")};
  QFile data(files.project);
  if (data.open(QIODevice::WriteOnly)) data.write(projectText.data(), qint64(projectText.size()));
  data.close();
  korvan::RunProjectText(projectText, "/dev/null", files.plot.toStdString());
  return files;
}

void BM_ReadPlotData(benchmark::State& state, const TRunFiles& files) {
  korvan::TInputTables tables;
  korvan::ProgramData = std::make_unique<korvan::TProgramData>(tables);
  if (!korvan::ProgramData->ReadFile(files.project, korvan::dfKorvan2021).isEmpty()) {
    state.SkipWithError("the project cannot be read");
    return;
  }
  korvan::TResultGraphs graphs;
  for (auto _ : state) {
    if (!graphs.ReadPlotData(files.plot, *korvan::ProgramData)) {
      state.SkipWithError("the plot file cannot be read");
      break;
    }
  }
  state.counters["MB"] = static_cast<double>(QFileInfo(files.plot).size()) / 1e6;
  korvan::ProgramData.reset();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const TRunFiles typical = MakeRun("typical", korvan::benchmark_projects::TypicalProject());
  const TRunFiles capacity = MakeRun("capacity", korvan::benchmark_projects::CapacityProject());
  benchmark::RegisterBenchmark("ReadPlotData/Typical", BM_ReadPlotData, typical)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ReadPlotData/Capacity", BM_ReadPlotData, capacity)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
