// The project is opened with the desktop program's reader, its plot data and
// graph settings read by the same code as the program's, and every graph
// with results drawn by the graph windows' own drawing routine.
#include "cli/plot_command.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/analysed_project.h"
#include "cli/command_application.h"
#include "cli/command_arguments.h"
#include "graphs/PlotPicture.h"
#include "model/Exceptions.h"

namespace korvan {

namespace {

constexpr int kUsageError = 64;
constexpr int kCannotCreate = 73;

namespace fs = std::filesystem;

// The largest picture side and resolution an option may ask for; the
// picture as a whole must also fit (PictureAttributesProblem).
constexpr long double kMaxPictureInches = 1000;
constexpr long double kMaxPixelsPerInch = 100000;

struct TPlotOptions {
  fs::path project;
  fs::path folder;
  TPictureFormat format = TPictureFormat::Png;
  TPictureAttributes attributes;
};

std::optional<long double> Number(const char* text) {
  bool ok = false;
  const double value = QString::fromLocal8Bit(text).toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

// "--dpi must be a whole number from 10 to 100000".
std::string RangeText(const std::string& option, long double least, long double most) {
  auto whole = [](long double value) { return std::to_string(static_cast<long long>(value)); };
  return option +
         (option == "--dpi" ? " must be a whole number from " : " must be a number from ") +
         whole(least) + " to " + whole(most);
}

// The options, or a message for standard error.
std::optional<TPlotOptions> ParseOptions(int argc, char** argv, std::string& error) {
  TPlotOptions options;
  options.attributes.WidthInches = 6;
  options.attributes.HeightInches = 4;
  options.attributes.PixelsPerInch = 150;
  options.attributes.Colors = TPictureColors::TrueColor;
  auto take = [&options](const std::string& option,
                         const std::string& value) -> std::optional<std::string> {
    if (option == "--format") {
      if (value == "png")
        options.format = TPictureFormat::Png;
      else if (value == "svg")
        options.format = TPictureFormat::Svg;
      else if (value == "pdf")
        options.format = TPictureFormat::Pdf;
      else
        return "unknown format " + value + " (png, svg or pdf)";
    } else if (option == "--out") {
      if (value.empty()) return "--out needs a folder";
      options.folder = value;
    } else {
      const auto number = Number(value.c_str());
      const bool dpi = option == "--dpi";
      const long double least = dpi ? kMinPicturePixelsPerInch : kMinPictureInches;
      const long double most = dpi ? kMaxPixelsPerInch : kMaxPictureInches;
      if (!number || *number < least || *number > most || (dpi && *number != std::trunc(*number)))
        return RangeText(option, least, most);
      if (option == "--width") options.attributes.WidthInches = *number;
      if (option == "--height") options.attributes.HeightInches = *number;
      if (dpi) options.attributes.PixelsPerInch = static_cast<int>(*number);
    }
    return std::nullopt;
  };
  const TCommandOptions known{{}, {"--format", "--out", "--width", "--height", "--dpi"}};
  if (auto failure = ScanCommandArguments(argc, argv, known, options.project, take)) {
    error = *failure;
    return std::nullopt;
  }
  if (const auto problem = PictureAttributesProblem(options.attributes, options.format)) {
    std::ostringstream size;
    size << "a picture of " << static_cast<double>(options.attributes.WidthInches) << " by "
         << static_cast<double>(options.attributes.HeightInches) << " inches at "
         << options.attributes.PixelsPerInch
         << " dots per inch cannot be made: " << problem->toStdString();
    error = size.str();
    return std::nullopt;
  }
  return options;
}

// "Displacement/Soil Settlement" becomes "displacement-soil-settlement".
QString FileStem(const QString& caption) {
  static const QRegularExpression separators(QStringLiteral("[^a-z0-9]+"));
  QString stem = caption.toLower().replace(separators, QStringLiteral("-"));
  while (stem.endsWith(QLatin1Char('-'))) stem.chop(1);
  while (stem.startsWith(QLatin1Char('-'))) stem.remove(0, 1);
  return stem;
}

}  // namespace

int PlotCommand(int argc, char** argv) {
  std::string error;
  const std::optional<TPlotOptions> options = ParseOptions(argc, argv, error);
  if (!options) {
    std::cerr << "korvan plot: " << error << "\n";
    return kUsageError;
  }
  const TCommandApplication application(TCommandApplication::TKind::kGui);

  int openStatus = 0;
  const auto analysed = TAnalysedProject::Open(options->project, "plot", openStatus);
  if (!analysed) return openStatus;
  TResultGraphs& graphs = analysed->Graphs();

  const fs::path folder = options->folder.empty() ? analysed->Folder() : options->folder;
  std::error_code folderError;
  fs::create_directories(folder, folderError);
  if (folderError) {
    std::cerr << "korvan plot: cannot create the folder " << folder << ": " << folderError.message()
              << "\n";
    return kCannotCreate;
  }
  int status = 0;
  for (TGraphPlot* plot : GraphsWithResults(graphs, analysed->Project())) {
    const fs::path file =
        folder / (analysed->BaseName() + "-" + FileStem(plot->Caption()).toStdString() + "." +
                  PictureExtension(options->format).toStdString());
    try {
      WritePicture(*plot, file, options->format, options->attributes, analysed->Kept());
      std::cout << file.native() << "\n";
    } catch (const EKorvanError& failure) {
      std::cerr << "korvan plot: " << failure.Message().toStdString() << "\n";
      status = kCannotCreate;
    }
  }
  return status;
}

}  // namespace korvan
