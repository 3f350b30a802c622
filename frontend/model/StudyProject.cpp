#include "model/StudyProject.h"

#include <QFile>

#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "platform/input_file.h"

namespace korvan {

std::optional<QByteArray> ProjectTextAsSaved(const std::filesystem::path& dataFile,
                                             QString& message) {
  const QString name = QFile::decodeName(dataFile.c_str());
  const TDataFileFormat format = DataFileFormat(name);
  if (format == dfUnknown) {
    message = QStringLiteral("%1 is not a project data file (.kv4d, .kv3d or .kvd)").arg(name);
    return std::nullopt;
  }
  const platform::TInputFile file(dataFile);
  if (!file.Opened()) {
    message = QStringLiteral("the project data file %1 cannot be read: %2")
                  .arg(name, QString::fromLocal8Bit(file.Problem()));
    return std::nullopt;
  }
  TInputTables tables;
  TProgramData project(tables);
  const QString readerName = QFile::decodeName(file.ReopenName().c_str());
  QString failure = project.ReadFile(readerName, format);
  if (!failure.isEmpty()) {
    message = QStringLiteral("the project data file %1 cannot be read: %2")
                  .arg(name, failure.replace(readerName, name));
    return std::nullopt;
  }
  try {
    return project.FileBytes();
  } catch (const EKorvanError& error) {
    message = error.Message();
    return std::nullopt;
  }
}

}  // namespace korvan
