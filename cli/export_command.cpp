// The project and its results are opened by the same code as the desktop
// program's, and the workbook is written by the export dialog's own code.
#include "cli/export_command.h"

#include <QStringList>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>

#include "cli/analysed_project.h"
#include "cli/command_application.h"
#include "cli/command_arguments.h"
#include "graphs/ExportPlots.h"

namespace korvan {

namespace {

constexpr int kUsageError = 64;
constexpr int kCannotCreate = 73;
constexpr int kExportablePlots = 6;

namespace fs = std::filesystem;

struct TExportOptions {
  fs::path project;
  fs::path workbook;
  bool markers = true;
  std::set<int> positions;  // empty: every graph with results
};

std::optional<std::set<int>> Positions(const QString& list) {
  std::set<int> positions;
  for (const QString& item : list.split(QLatin1Char(','))) {
    bool ok = false;
    const int position = item.trimmed().toInt(&ok);
    if (!ok || position < 1 || position > kExportablePlots) return std::nullopt;
    positions.insert(position);
  }
  return positions;
}

std::optional<TExportOptions> ParseOptions(int argc, char** argv, std::string& error) {
  TExportOptions options;
  auto take = [&options](const std::string& option,
                         const std::string& value) -> std::optional<std::string> {
    if (option == "--no-markers") {
      options.markers = false;
    } else if (option == "--out") {
      if (value.empty()) return "--out needs a file name";
      options.workbook = value;
    } else if (auto positions = Positions(QString::fromLocal8Bit(value.c_str()))) {
      options.positions = *positions;
    } else {
      return "--plots takes positions from 1 to 6 separated by commas";
    }
    return std::nullopt;
  };
  const TCommandOptions known{{"--no-markers"}, {"--out", "--plots"}};
  if (auto failure = ScanCommandArguments(argc, argv, known, options.project, take)) {
    error = *failure;
    return std::nullopt;
  }
  return options;
}

// The graphs of the export list in their order, each with its position,
// when the program's Graphics menu would offer it.
std::vector<const TGraphPlot*> ChosenGraphs(TAnalysedProject& analysed,
                                            const std::set<int>& positions) {
  TResultGraphs& graphs = analysed.Graphs();
  const std::pair<TGraphPlot*, bool> list[kExportablePlots] = {
      {&graphs.pltLoad(), true},
      {&graphs.pltDisp(), true},
      {&graphs.pltDispDown(), analysed.Project().downdrag == 1},
      {&graphs.pltAxial(), true},
      {&graphs.pltTZcurves(), true},
      {&graphs.PltQW(), true}};
  std::vector<const TGraphPlot*> chosen;
  for (int position = 1; position <= kExportablePlots; ++position) {
    const auto& [plot, offered] = list[position - 1];
    if (!offered || plot->LineCount() == 0) continue;
    if (positions.empty() || positions.contains(position)) chosen.push_back(plot);
  }
  return chosen;
}

}  // namespace

int ExportCommand(int argc, char** argv) {
  std::string error;
  const std::optional<TExportOptions> options = ParseOptions(argc, argv, error);
  if (!options) {
    std::cerr << "korvan export: " << error << "\n";
    return kUsageError;
  }
  const TCommandApplication application(TCommandApplication::TKind::kCore);

  int status = 0;
  const auto analysed = TAnalysedProject::Open(options->project, "export", status);
  if (!analysed) return status;
  const std::vector<const TGraphPlot*> graphs = ChosenGraphs(*analysed, options->positions);
  if (graphs.empty()) {
    std::cerr << "korvan export: none of the chosen graphs has results\n";
    return status = 65;
  }
  const fs::path workbook = options->workbook.empty()
                                ? analysed->Folder() / (analysed->BaseName() + ".xlsx")
                                : options->workbook;
  if (const auto failure =
          ExportGraphsToWorkbook(graphs, options->markers, workbook, analysed->Kept())) {
    std::cerr << "korvan export: " << failure->toStdString() << "\n";
    return kCannotCreate;
  }
  std::cout << workbook.native() << "\n";
  return 0;
}

}  // namespace korvan
