// The project is read as the desktop program opens it, and every variant is
// made before any file is written, so a project that cannot give them all
// writes nothing. Each run is `korvan run`'s own code in a copy of this
// process; the pictures are drawn by the graph windows' own drawing routine.
#include "cli/study_command.h"

#include <QFile>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/command_application.h"
#include "cli/command_arguments.h"
#include "cli/run_command.h"
#include "graphs/PlotPicture.h"
#include "graphs/StudyGraphs.h"
#include "model/Exceptions.h"
#include "model/StudyProject.h"
#include "platform/input_file.h"
#include "platform/safe_output.h"
#include "runner/study_range.h"
#include "runner/study_signals.h"
#include "runner/study_table.h"
#include "runner/study_variant.h"
#include "runner/study_work.h"

namespace korvan {

namespace {

namespace fs = std::filesystem;

// Besides the statuses of `korvan run` (run_command.h).
constexpr int kDataError = 65;
constexpr int kMaxJobs = 64;

const std::string kPrefix = "korvan study: ";

struct TStudyOptions {
  fs::path project;
  std::optional<TStudyRange> range;
  std::optional<double> designLoad;
  std::optional<double> settlementLimit;
  fs::path folder;
  int jobs = 0;
  bool scaleAE = false;
  TPictureFormat format = TPictureFormat::Png;
};

int DefaultJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, kMaxJobs));
}

std::optional<int> Jobs(const std::string& text) {
  int jobs = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || jobs < 1 ||
      jobs > kMaxJobs) {
    return std::nullopt;
  }
  return jobs;
}

// The options, or a one-line message for standard error.
std::optional<TStudyOptions> ParseOptions(int argc, char** argv, std::string& error) {
  TStudyOptions options;
  options.jobs = DefaultJobs();
  auto fail = [&](const std::string& message) {
    error = message;
    return std::nullopt;
  };
  auto take = [&options](const std::string& option,
                         const std::string& value) -> std::optional<std::string> {
    if (option == "--scale-ae") {
      options.scaleAE = true;
    } else if (option == "--vary") {
      if (options.range) return "--vary given twice: a study varies one parameter";
      std::string rangeError;
      options.range = ParseStudyRange(value, rangeError);
      if (!options.range) return rangeError;
    } else if (option == "--design-load" || option == "--settlement-limit") {
      const auto number = ParsePositiveNumber(value);
      if (!number) return option + " must be a number above 0, not \"" + value + "\"";
      (option == "--design-load" ? options.designLoad : options.settlementLimit) = number;
    } else if (option == "--out") {
      if (value.empty()) return "--out needs a folder";
      options.folder = value;
    } else if (option == "-j") {
      const auto jobs = Jobs(value);
      if (!jobs) return option + " must be a whole number from 1 to 64";
      options.jobs = *jobs;
    } else {
      const auto format =
          PictureFormatOf(QStringLiteral("picture.") + QString::fromStdString(value));
      if (!format || *format == TPictureFormat::Bmp)
        return "unknown format " + value + " (png, svg or pdf)";
      options.format = *format;
    }
    return std::nullopt;
  };
  const TCommandOptions known{
      {"--scale-ae"}, {"--vary", "--design-load", "--settlement-limit", "--out", "-j", "--format"}};
  if (auto failure = ScanCommandArguments(argc, argv, known, options.project, take)) {
    return fail(*failure);
  }
  if (!options.range) return fail("--vary length=FROM:TO:STEP or diameter=FROM:TO:STEP is needed");
  if (options.scaleAE && options.range->parameter != TStudyParameter::kDiameter) {
    return fail("--scale-ae goes with --vary diameter only");
  }
  return options;
}

std::string Described(const TStudySettings& settings, double value) {
  return std::string(ParameterWord(settings.parameter)) + " " + ValueText(value) + " " +
         LengthUnit(settings.unitSystem);
}

// Writes `bytes` to `target` through the output-safety routine; false with
// the message on standard error.
bool WriteFile(const fs::path& target, const std::string& bytes,
               const std::vector<platform::TKeptFile>& kept, const std::string& what) {
  platform::TSafeOutput output(target, kept);
  if (output.Ready() && output.Write(bytes) && output.Commit()) return true;
  std::cerr << kPrefix << what << " " << target << " cannot be written: " << output.Reason()
            << "\n";
  return false;
}

class TStudy {
 public:
  TStudy(const TStudyOptions& options, std::vector<double> values)
      : fOptions(options), fValues(std::move(values)) {}

  int Run();

 private:
  int OpenProject();
  int MakeVariants();
  int PrepareFolder();
  int WriteVariants();
  int RunVariants();
  int WriteResults();
  int Interrupted() { return fInterrupts.Arrived(); }

  const TStudyOptions& fOptions;
  std::vector<double> fValues;
  TInterruptWatch fInterrupts;
  fs::path fData;
  std::string fStem;
  std::vector<platform::TKeptFile> fKept;
  std::unique_ptr<TVariantMaker> fMaker;
  TStudySettings fSettings;
  std::vector<TStudyVariantFile> fVariants;
  fs::path fFolder;
  std::vector<TVariantOutcome> fOutcomes;
};

int TStudy::Run() {
  for (int (TStudy::*step)() :
       {&TStudy::OpenProject, &TStudy::MakeVariants, &TStudy::PrepareFolder, &TStudy::WriteVariants,
        &TStudy::RunVariants, &TStudy::WriteResults}) {
    const int status = (this->*step)();
    if (const int signal = Interrupted()) return platform::TInterruptCleanup::ExitStatus(signal);
    if (status != 0) return status;
  }
  int status = 0;
  for (const TVariantOutcome& outcome : fOutcomes) {
    if (outcome.Completed()) continue;
    std::cerr << kPrefix << Described(fSettings, outcome.value) << " stopped (result code "
              << outcome.code << "): " << outcome.reason << "\n";
    status = kSomeVariantsStopped;
  }
  return status;
}

int TStudy::OpenProject() {
  std::error_code error;
  fData = fs::absolute(fOptions.project, error);
  if (error) {
    std::cerr << kPrefix << "cannot resolve " << fOptions.project << ": " << error.message()
              << "\n";
    return kNoInput;
  }
  const platform::TInputFile file(fData);
  if (!file.Opened()) {
    std::cerr << kPrefix << "no project data file " << fData << ": " << file.Problem() << "\n";
    return kNoInput;
  }
  fStem = fData.stem().string();
  fKept = platform::ProjectFiles(fData);
  const TVariantRules rules{fOptions.range->parameter, fOptions.designLoad, fOptions.scaleAE};
  QString message;
  const std::optional<QByteArray> text = ProjectTextAsSaved(fData, message);
  if (!text) {
    std::cerr << kPrefix << message.toStdString() << "\n";
    return kDataError;
  }
  fMaker = std::make_unique<TVariantMaker>(text->toStdString(), rules);
  if (!fMaker->Problem().empty()) {
    std::cerr << kPrefix << fMaker->Problem() << "\n";
    return kDataError;
  }
  fSettings.parameter = rules.parameter;
  fSettings.unitSystem = fMaker->Units();
  if (fOptions.designLoad) fSettings.designLoad = DataFileValue(*fOptions.designLoad);
  fSettings.settlementLimit = fOptions.settlementLimit;
  fSettings.designLoadIndex = fMaker->DesignLoadIndex();
  fSettings.curvesStartAtOrigin = !fMaker->DownDrag();
  return 0;
}

int TStudy::MakeVariants() {
  for (const double value : fValues) {
    std::string error;
    std::optional<std::string> text = fMaker->VariantText(value, error);
    if (!text) {
      std::cerr << kPrefix << "the variant of " << Described(fSettings, value)
                << " cannot be made: " << error << "\n";
      return kDataError;
    }
    fVariants.push_back(
        {value, fStem + "-" + ParameterWord(fSettings.parameter) + "-" + ValueText(value) + ".kv4d",
         std::move(*text)});
  }
  return 0;
}

int TStudy::PrepareFolder() {
  fFolder =
      fOptions.folder.empty()
          ? fData.parent_path() / (fStem + "-" + ParameterWord(fSettings.parameter) + "-study")
          : fOptions.folder;
  std::error_code error;
  fs::create_directories(fFolder, error);
  if (error || !fs::is_directory(fFolder, error)) {
    std::cerr << kPrefix << "the study's folder " << fFolder << " cannot be made: "
              << (error ? error.message() : std::string("it exists and is not a folder")) << "\n";
    return kCannotCreate;
  }
  return 0;
}

int TStudy::WriteVariants() {
  for (const TStudyVariantFile& variant : fVariants) {
    if (!WriteFile(fFolder / variant.name, variant.bytes, fKept, "the variant")) {
      return kCannotCreate;
    }
    if (Interrupted()) return 0;
  }
  return 0;
}

int TStudy::RunVariants() {
  TStudyWork work(fVariants);
  if (!work.Ready()) {
    std::cerr << kPrefix << "the variants cannot be prepared for their runs: " << work.Failure()
              << "\n";
    return kCannotCreate;
  }
  // The process has no other thread yet (Qt starts later), so each run is
  // `korvan run` in a copy of it, without loading the program again.
  const TVariantLauncher runner =
      ForkedRunner([](const std::string& name) { return RunCommand(name); });
  if (!work.Run(runner, fOptions.jobs, fInterrupts.Descriptor())) {
    if (Interrupted()) return 0;
    std::cerr << kPrefix << work.Failure() << "\n";
    return kSystemError;
  }
  fOutcomes = work.Outcomes(fSettings);
  return 0;
}

int TStudy::WriteResults() {
  const fs::path table = fFolder / "study.csv";
  if (!WriteFile(table, StudyTableText(fOutcomes, fSettings), fKept, "the study table")) {
    return kCannotCreate;
  }
  std::cout << table.native() << "\n";
  const TCommandApplication application(TCommandApplication::TKind::kGui);
  TPictureAttributes attributes;
  attributes.WidthInches = 6;
  attributes.HeightInches = 4;
  attributes.PixelsPerInch = 150;
  attributes.Colors = TPictureColors::TrueColor;
  const TStudyGraphs graphs(fOutcomes, fSettings);
  const std::pair<bool, const char*> missing[] = {
      {graphs.Curves().LineCount() == 0,
       "no variant completed: the load-settlement curves are not drawn"},
      {fSettings.designLoad && !graphs.SettlementChart(),
       "no variant has a settlement under the design load: its design chart is not drawn"},
      {fSettings.settlementLimit && !graphs.LoadChart(),
       "no variant reaches the settlement limit: its design chart is not drawn"},
  };
  for (const auto& [absent, message] : missing) {
    if (absent) std::cerr << kPrefix << message << "\n";
  }
  int status = 0;
  for (const TStudyGraph& graph : graphs.All()) {
    if (Interrupted()) return 0;
    const fs::path file = fFolder / (fStem + "-" + ParameterWord(fSettings.parameter) + "-" +
                                     graph.fileStem.toStdString() + "." +
                                     PictureExtension(fOptions.format).toStdString());
    try {
      WritePicture(*graph.graph, file, fOptions.format, attributes, fKept);
      std::cout << file.native() << "\n";
    } catch (const EKorvanError& failure) {
      std::cerr << kPrefix << failure.Message().toStdString() << "\n";
      status = kCannotCreate;
    }
  }
  return status;
}

}  // namespace

int StudyCommand(int argc, char** argv) {
  std::string error;
  const std::optional<TStudyOptions> options = ParseOptions(argc, argv, error);
  std::optional<std::vector<double>> values;
  if (options) values = StudyValues(*options->range, error);
  if (!values) {
    std::cerr << kPrefix << error << "\n";
    return kUsageError;
  }
  return TStudy(*options, std::move(*values)).Run();
}

}  // namespace korvan
