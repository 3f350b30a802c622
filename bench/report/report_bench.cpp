// The calculation report of an analysed project, as korvan report makes it
// once the project is open: the run's files read, the report built, laid
// out and painted into a PDF (in memory). A sample project and one at the
// engine's capacity (500 increments, 100 tip movements, 50 head loads).
// Targets: 1 s and 5 s.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "bench/benchmark_projects.h"
#include "engine/run.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"
#include "report/ReportBuilder.h"
#include "report/ReportPdf.h"
#include "runner/run_record.h"

namespace {

QTemporaryDir& Folder() {
  static QTemporaryDir folder;
  return folder;
}

// The project's data file and the report and plot file of its run, made
// once; the path of the data file.
std::string MakeRun(const char* name, const std::string& projectText) {
  const std::string base = Folder().filePath(QLatin1String(name)).toStdString();
  std::ofstream(base + ".kv4d", std::ios::binary) << projectText;
  korvan::RunProjectText(projectText, base + ".kv4o", base + ".kv4p");
  return base + ".kv4d";
}

std::string ExampleText(const char* name) {
  std::ifstream file(std::string(KORVAN_EXAMPLES_DIR "/") + name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void BM_Report(benchmark::State& state, const std::string& data) {
  korvan::TInputTables tables;
  korvan::ProgramData = std::make_unique<korvan::TProgramData>(tables);
  korvan::TProgramData& project = *korvan::ProgramData;
  const QString name = QString::fromStdString(data);
  if (!project.ReadFile(name, korvan::dfKorvan2021).isEmpty()) {
    state.SkipWithError("the project cannot be read");
    return;
  }
  project.FileName = name;
  korvan::TResultGraphs graphs;
  if (!graphs.ReadPlotData(name.chopped(5) + QStringLiteral(".kv4p"), project)) {
    state.SkipWithError("the plot file cannot be read");
    return;
  }
  int pages = 0;
  qsizetype bytes = 0;
  for (auto _ : state) {
    const korvan::RunRecord run = korvan::ReadRunRecord(data);
    korvan::TReportSources sources;
    sources.Project = &project;
    sources.Graphs = &graphs;
    sources.Run = &run;
    const korvan::TReportDocument document = korvan::BuildReport(sources);
    const QByteArray pdf = korvan::ReportPdfBytes(document, korvan::TReportPaper::A4);
    bytes = pdf.size();
    pages = static_cast<int>(pdf.count("/Type /Page\n"));
    benchmark::DoNotOptimize(pdf.data());
  }
  state.counters["pages"] = pages;
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  korvan::ProgramData.reset();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const std::string sample = MakeRun("sample", ExampleText("driven-pile-clay-sand.kv4d"));
  const std::string capacity = MakeRun("capacity", korvan::benchmark_projects::CapacityProject());
  benchmark::RegisterBenchmark("Report/Sample", BM_Report, sample)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Report/Capacity", BM_Report, capacity)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
