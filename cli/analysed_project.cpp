#include "analysed_project.h"

#include <QFileInfo>
#include <iostream>

#include "Exceptions.h"

namespace korvan {

TAnalysedProject::~TAnalysedProject() {
  ProgramData.reset();
}

std::unique_ptr<TAnalysedProject> TAnalysedProject::Open(const QString& path, const char* command,
                                                         int& status) {
  const std::string prefix = std::string("korvan ") + command + ": ";
  const QFileInfo file(path);
  const TDataFileFormat format = DataFileFormat(file.fileName());
  if (format == dfUnknown || !file.isFile()) {
    std::cerr << prefix << "no project data file " << path.toStdString() << "\n";
    status = 66;
    return nullptr;
  }
  std::unique_ptr<TAnalysedProject> opened(new TAnalysedProject);
  opened->fFolder = file.absolutePath();
  opened->fBaseName = file.completeBaseName();
  ProgramData = std::make_unique<TProgramData>(opened->fTables);
  const QString readError = ProgramData->ReadFile(file.absoluteFilePath(), format);
  if (!readError.isEmpty()) {
    std::cerr << prefix << readError.toStdString() << "\n";
    status = 65;
    return nullptr;
  }
  const QString base = opened->fFolder + QLatin1Char('/') + opened->fBaseName;
  const QString plotFile = base + QStringLiteral(".kv4p");
  if (!opened->fGraphs.ReadPlotData(plotFile, *ProgramData)) {
    std::cerr << prefix << plotFile.toStdString()
              << " is missing or holds no complete results: run the analysis first\n";
    status = 65;
    return nullptr;
  }
  const QString settingsFile = base + QStringLiteral(".kv4g");
  if (QFileInfo::exists(settingsFile)) {
    try {
      opened->fGraphs.ReadGraphParams(settingsFile, *ProgramData);
    } catch (const EKorvanError& failure) {
      std::cerr << prefix << "the graph settings are not used: " << failure.Message().toStdString()
                << "\n";
    }
  }
  status = 0;
  return opened;
}

}  // namespace korvan
