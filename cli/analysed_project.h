// An analysed project opened the way the desktop program opens it: the data
// file with the program's reader, then its plot data and graph settings into
// the program's result graphs. Used by the commands that turn results into
// files (korvan plot, korvan export). Every file is read only when it is a
// regular file (never waiting on a FIFO), under the bytes of its name as the
// user gave them.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"
#include "platform/safe_output.h"

namespace korvan {

class TAnalysedProject {
 public:
  TAnalysedProject(const TAnalysedProject&) = delete;
  TAnalysedProject& operator=(const TAnalysedProject&) = delete;
  ~TAnalysedProject();

  // Opens `path`. On failure the message goes to standard error after
  // "korvan `command`: " and the result holds no project; `status` is then
  // the exit status (66 no such data file, 65 unreadable data or results).
  // Graph settings that cannot be used whole are named on standard error,
  // with the graphs they were applied to; the project opens all the same.
  static std::unique_ptr<TAnalysedProject> Open(const std::filesystem::path& path,
                                                const char* command, int& status);

  TProgramData& Project() { return *ProgramData; }
  TResultGraphs& Graphs() { return fGraphs; }
  const std::filesystem::path& Folder() const { return fFolder; }
  // The data file's name without folder and extension.
  const std::string& BaseName() const { return fBaseName; }
  // The project's own files, which no output may replace.
  const std::vector<platform::TKeptFile>& Kept() const { return fKept; }

 private:
  TAnalysedProject() = default;
  bool ReadData(const std::filesystem::path& path, const std::string& prefix, int& status);
  bool ReadPlotFile(const std::filesystem::path& path, const std::string& prefix, int& status);
  void ReadSettings(const std::filesystem::path& path, const std::string& prefix);

  TInputTables fTables;  // outlives ProgramData, which reaches into it
  TResultGraphs fGraphs;
  std::filesystem::path fFolder;
  std::string fBaseName;
  std::vector<platform::TKeptFile> fKept;
};

}  // namespace korvan
