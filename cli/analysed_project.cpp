#include "cli/analysed_project.h"

#include <QFile>
#include <QStringList>
#include <iostream>

#include "model/Exceptions.h"
#include "model/WordReader.h"
#include "platform/input_file.h"

namespace korvan {

namespace fs = std::filesystem;

namespace {

// The name under which Qt's readers open `file`.
QString ReaderName(const platform::TInputFile& file) {
  return QFile::decodeName(file.ReopenName().c_str());
}

// A reader's message with the name it was given replaced by the file's own.
std::string InOwnNames(QString message, const platform::TInputFile& file, const fs::path& path) {
  message.replace(ReaderName(file), QFile::decodeName(path.c_str()));
  return message.toStdString();
}

}  // namespace

TAnalysedProject::~TAnalysedProject() {
  ProgramData.reset();
}

std::unique_ptr<TAnalysedProject> TAnalysedProject::Open(const fs::path& path, const char* command,
                                                         int& status) {
  const std::string prefix = std::string("korvan ") + command + ": ";
  std::unique_ptr<TAnalysedProject> opened(new TAnalysedProject);
  std::error_code error;
  const fs::path data = fs::absolute(path, error);
  if (error) {
    std::cerr << prefix << "cannot resolve " << path << ": " << error.message() << "\n";
    status = 66;
    return nullptr;
  }
  opened->fFolder = data.parent_path();
  opened->fBaseName = data.stem().string();
  opened->fKept = platform::ProjectFiles(data);
  const fs::path base = opened->fFolder / opened->fBaseName;
  if (!opened->ReadData(data, prefix, status) ||
      !opened->ReadPlotFile(fs::path(base).concat(".kv4p"), prefix, status)) {
    return nullptr;
  }
  opened->ReadSettings(fs::path(base).concat(".kv4g"), prefix);
  status = 0;
  return opened;
}

bool TAnalysedProject::ReadData(const fs::path& path, const std::string& prefix, int& status) {
  const TDataFileFormat format = DataFileFormat(QFile::decodeName(path.filename().c_str()));
  if (format == dfUnknown) {
    std::cerr << prefix << path << " is not a project data file (.kv4d, .kv3d or .kvd)\n";
    status = 66;
    return false;
  }
  const platform::TInputFile file(path);
  if (!file.Opened()) {
    if (file.Missing())
      std::cerr << prefix << "no project data file " << path << "\n";
    else
      std::cerr << prefix << "the project data file " << path
                << " cannot be read: " << file.Problem() << "\n";
    status = 66;
    return false;
  }
  ProgramData = std::make_unique<TProgramData>(fTables);
  const QString readError = ProgramData->ReadFile(ReaderName(file), format);
  ProgramData->FileName = QFile::decodeName(path.c_str());
  if (!readError.isEmpty()) {
    std::cerr << prefix << "the project data file " << path
              << " cannot be read: " << InOwnNames(readError, file, path) << "\n";
    status = 65;
    return false;
  }
  return true;
}

bool TAnalysedProject::ReadPlotFile(const fs::path& path, const std::string& prefix, int& status) {
  status = 65;
  const platform::TInputFile file(path);
  if (!file.Opened()) {
    std::cerr << prefix << "the plot data file " << path
              << (file.Missing() ? " is missing: run the analysis first"
                                 : " cannot be read: " + file.Problem())
              << "\n";
    return false;
  }
  if (!fGraphs.ReadPlotData(ReaderName(file), *ProgramData)) {
    std::cerr << prefix << "the plot data file " << path
              << " is cut short or holds no complete results: run the analysis again\n";
    return false;
  }
  return true;
}

void TAnalysedProject::ReadSettings(const fs::path& path, const std::string& prefix) {
  const platform::TInputFile file(path);
  if (file.Missing()) return;
  if (!file.Opened()) {
    std::cerr << prefix << "the graph settings file " << path << " is not used: " << file.Problem()
              << "\n";
    return;
  }
  // Blocks are applied one by one: a file that fails part way has set up
  // the graphs before the failure, and the message says which.
  QStringList applied;
  try {
    TWordReader reader(ReaderName(file));
    for (TGraphPlot* plot : fGraphs.ParameterGraphs(*ProgramData)) {
      if (TResultGraphs::ReadGraphPlotParams(*plot, reader)) applied << plot->Caption();
    }
  } catch (const EKorvanError& failure) {
    std::cerr << prefix << "the graph settings file " << path
              << (applied.isEmpty()
                      ? std::string(" is not used")
                      : " is used for " + applied.join(QStringLiteral(", ")).toStdString() +
                            " only; the settings of the other graphs are not used")
              << ": " << InOwnNames(failure.Message(), file, path) << "\n";
  }
}

}  // namespace korvan
