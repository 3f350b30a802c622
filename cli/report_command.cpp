// The project and its results are opened by the same code as the desktop
// program's (with the graph settings it saved), the report built and
// painted by the same code as its "Export Report (PDF)...", and the heading
// names who the program's settings name.
#include "cli/report_command.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/analysed_project.h"
#include "cli/command_application.h"
#include "cli/command_arguments.h"
#include "cli/run_command.h"
#include "model/Exceptions.h"
#include "report/ReportBuilder.h"
#include "report/ReportPdf.h"
#include "report/ReportUserSettings.h"
#include "runner/run_record.h"

namespace korvan {

namespace {

namespace fs = std::filesystem;

struct TReportOptions {
  fs::path project;
  fs::path pdf;
  std::optional<TReportPaper> paper;  // none: the locale's
};

std::optional<TReportOptions> ParseOptions(int argc, char** argv, std::string& error) {
  TReportOptions options;
  auto take = [&options](const std::string& option,
                         const std::string& value) -> std::optional<std::string> {
    if (option == "--out") {
      if (value.empty()) return "--out needs a file name";
      options.pdf = value;
    } else if (const auto paper = ReportPaperNamed(QString::fromLocal8Bit(value.c_str()))) {
      options.paper = paper;
    } else {
      return "--paper takes a4 or letter";
    }
    return std::nullopt;
  };
  const TCommandOptions known{{}, {"--out", "--paper"}};
  if (auto failure = ScanCommandArguments(argc, argv, known, options.project, take)) {
    error = *failure;
    return std::nullopt;
  }
  return options;
}

}  // namespace

int ReportCommand(int argc, char** argv) {
  std::string error;
  const std::optional<TReportOptions> options = ParseOptions(argc, argv, error);
  if (!options) {
    std::cerr << "korvan report: " << error << "\n";
    return kUsageError;
  }
  const TCommandApplication application(TCommandApplication::TKind::kGui);

  int status = 0;
  const auto analysed = TAnalysedProject::Open(options->project, "report", status);
  if (!analysed) return status;
  const fs::path data = analysed->Folder() / fs::path(options->project).filename();
  const RunRecord run = ReadRunRecord(data);
  if (!run.summary) {
    std::cerr << "korvan report: the plot data file of " << options->project
              << " holds no complete results: run the analysis again\n";
    return kRefused;
  }
  TReportSources sources;
  sources.Project = &analysed->Project();
  sources.Graphs = &analysed->Graphs();
  sources.Run = &run;
  sources.User = ReadReportUser();
  if (run.dataNewerThanResults) {
    std::cerr << "korvan report: the project data file is newer than its results; the report "
                 "says so on its first page\n";
  }
  if (!run.reportRead) {
    std::cerr << "korvan report: the run's report file cannot be read; the report lists no "
                 "warnings of the run\n";
  }
  const fs::path pdf =
      options->pdf.empty() ? analysed->Folder() / (analysed->BaseName() + ".pdf") : options->pdf;
  try {
    WriteReportPdf(BuildReport(sources), pdf, options->paper.value_or(LocalePaper()),
                   analysed->Kept());
  } catch (const EKorvanError& failure) {
    std::cerr << "korvan report: " << failure.Message().toStdString() << "\n";
    return kCannotCreate;
  }
  std::cout << pdf.native() << "\n";
  return 0;
}

}  // namespace korvan
