#include "convert_command.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <iostream>

#include "DataUnit.h"
#include "Exceptions.h"
#include "InputTables.h"

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
  int argc = 1;
  char name[] = "korvan";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);

  const QString inputName = QFile::decodeName(input.c_str());
  const QString outputName = QFile::decodeName(output.c_str());
  const TDataFileFormat format = DataFileFormat(inputName);
  if (format == dfUnknown) {
    std::cerr << "korvan: " << input << " is not a project data file (.kv4d, .kv3d or .kvd)\n";
    return kUsageError;
  }
  if (DataFileFormat(outputName) != dfKorvan2021) {
    std::cerr << "korvan: the converted file " << output << " must end in .kv4d\n";
    return kUsageError;
  }
  if (!QFileInfo(inputName).isFile()) {
    std::cerr << "korvan: no project data file " << input << "\n";
    return kNoInput;
  }

  TInputTables tables;
  TProgramData project(tables);
  const QString message = project.ReadFile(inputName, format);
  if (!message.isEmpty()) {
    std::cerr << "korvan: " << input << " cannot be read; nothing was written.\n"
              << message.toStdString() << "\n";
    return kDataError;
  }
  project.FileName = outputName;
  try {
    project.Save();
  } catch (const EKorvanError& error) {
    std::cerr << "korvan: " << error.Message().toStdString() << "\n";
    return kCannotCreate;
  }
  return 0;
}

}  // namespace korvan
