// The project and its results are opened by the same code as the desktop
// program's (with the graph settings it saved), the report built and
// painted by the same code as its "Export Report (PDF)...", and the heading
// names who the program's settings name.
#include "cli/report_command.h"

#include <QGuiApplication>
#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/analysed_project.h"
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
  for (int i = 0; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--out" || option == "--paper") {
      if (i + 1 >= argc) {
        error = option + " needs a value";
        return std::nullopt;
      }
      const char* value = argv[++i];
      if (option == "--out") {
        if (*value == '\0') {
          error = "--out needs a file name";
          return std::nullopt;
        }
        options.pdf = value;
      } else if (const auto paper = ReportPaperNamed(QString::fromLocal8Bit(value))) {
        options.paper = paper;
      } else {
        error = "--paper takes a4 or letter";
        return std::nullopt;
      }
    } else if (option.rfind("--", 0) == 0) {
      error = "unknown option " + option;
      return std::nullopt;
    } else if (!options.project.empty()) {
      error = "more than one project given";
      return std::nullopt;
    } else {
      options.project = argv[i];
    }
  }
  if (options.project.empty()) {
    error = "no project given";
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
  // Painting needs fonts, never a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  char name[] = "korvan";
  char* qtArgv[] = {name, nullptr};
  QGuiApplication application(qtArgc, qtArgv);

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
