#include "cli/convert_command.h"

#include <QFile>
#include <iostream>

#include "cli/command_application.h"
#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "platform/input_file.h"
#include "platform/safe_output.h"

namespace korvan {

namespace {

// Exit statuses of the conventional set.
constexpr int kUsageError = 64;
constexpr int kDataError = 65;
constexpr int kNoInput = 66;
constexpr int kCannotCreate = 73;

}  // namespace

int ConvertDataFile(const std::filesystem::path& input, const std::filesystem::path& output) {
  // The project model needs Qt's core services only, never a display.
  const TCommandApplication application(TCommandApplication::TKind::kCore);

  // Names are kept as the bytes given; Qt sees them only to tell the format
  // by the extension and to show them.
  const TDataFileFormat format = DataFileFormat(QFile::decodeName(input.filename().c_str()));
  if (format == dfUnknown) {
    std::cerr << "korvan: " << input << " is not a project data file (.kv4d, .kv3d or .kvd)\n";
    return kUsageError;
  }
  if (DataFileFormat(QFile::decodeName(output.filename().c_str())) != dfKorvan2021) {
    std::cerr << "korvan: the converted file " << output << " must end in .kv4d\n";
    return kUsageError;
  }
  const platform::TInputFile file(input);
  if (!file.Opened()) {
    if (file.Missing())
      std::cerr << "korvan: no project data file " << input << "\n";
    else
      std::cerr << "korvan: the project data file " << input
                << " cannot be read: " << file.Problem() << "\n";
    return kNoInput;
  }

  TInputTables tables;
  TProgramData project(tables);
  const QString readerName = QFile::decodeName(file.ReopenName().c_str());
  QString message = project.ReadFile(readerName, format);
  if (!message.isEmpty()) {
    message.replace(readerName, QFile::decodeName(input.c_str()));
    std::cerr << "korvan: " << input << " cannot be read; nothing was written.\n"
              << message.toStdString() << "\n";
    return kDataError;
  }
  // The converted file may not replace the file converted or its run files.
  std::vector<platform::TKeptFile> kept = platform::ProjectFiles(input);
  kept.front().role = "the project data file being converted";
  try {
    project.SaveTo(output, kept);
  } catch (const EKorvanError& error) {
    std::cerr << "korvan: " << error.Message().toStdString() << "\n";
    return kCannotCreate;
  }
  return 0;
}

}  // namespace korvan
