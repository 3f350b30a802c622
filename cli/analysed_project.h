// An analysed project opened the way the desktop program opens it: the data
// file with the program's reader, then its plot data and graph settings into
// the program's result graphs. Used by the commands that turn results into
// files (korvan plot, korvan export).
#pragma once

#include <QString>
#include <memory>

#include "DataUnit.h"
#include "InputTables.h"
#include "ResultGraphs.h"

namespace korvan {

class TAnalysedProject {
 public:
  TAnalysedProject(const TAnalysedProject&) = delete;
  TAnalysedProject& operator=(const TAnalysedProject&) = delete;
  ~TAnalysedProject();

  // Opens `path`. On failure the message goes to standard error after
  // "korvan `command`: " and the result holds no project; `status` is then
  // the exit status (66 no such data file, 65 unreadable data or results).
  static std::unique_ptr<TAnalysedProject> Open(const QString& path, const char* command,
                                                int& status);

  TProgramData& Project() { return *ProgramData; }
  TResultGraphs& Graphs() { return fGraphs; }
  const QString& Folder() const { return fFolder; }
  // The data file's name without folder and extension.
  const QString& BaseName() const { return fBaseName; }

 private:
  TAnalysedProject() = default;

  TInputTables fTables;  // outlives ProgramData, which reaches into it
  TResultGraphs fGraphs;
  QString fFolder;
  QString fBaseName;
};

}  // namespace korvan
