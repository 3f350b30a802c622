// Saving a file under a name the user chose without ever losing a file: the
// new file is written beside the target under a short temporary name and
// renamed over it only when it is complete on disk. A target that is one of
// the project's own files, that exists as something other than a regular
// file, or that the user may not write, is refused before anything is
// written. The reasons it gives belong after the target's name (as the
// user gave it), never the temporary file's. No Qt: the commands, the
// runner and the desktop program share it.
//
//   TSafeOutput out(target, ProjectFiles(project), TProjectNames::kRefused);
//   if (!out.Ready() || !out.Write(bytes) || !out.Commit())
//     report("The workbook " + target + " cannot be written: " + out.Reason());
//
// The temporary file is removed when the object goes without Commit, and
// when SIGINT or SIGTERM ends the program (TInterruptCleanup).
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/interrupt_cleanup.h"

namespace korvan::platform {

// A file that an output must never replace, and what it is ("the report").
struct TKeptFile {
  std::filesystem::path path;
  std::string role;
};

// The project data file `data` and the files beside it that belong to it:
// report, plot data file, run notes, graph settings, run description.
std::vector<TKeptFile> ProjectFiles(const std::filesystem::path& data);

// ".korvan.<pid>.<tag>.part" in `folder`: the name of every temporary file
// KORVAN writes beside a target (the engine's outputs, the run description,
// the files the commands and the desktop program save). Short, so that a
// target of the longest name a folder allows still has a temporary file.
std::filesystem::path TemporaryPath(const std::filesystem::path& folder, std::string_view tag,
                                    pid_t pid);

// Removes from `folder` the temporary files of processes that no longer run
// (killed while saving); those of live processes, this one too, stay.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

// Whether a picture or a workbook may take a name with the extension of a
// project's files (.kv4d, .kv4o, .kv4p, .kv4r, .kv4g, .kv3d, .kvd) or the
// name names.dat.
enum class TProjectNames { kAllowed, kRefused };

class TSafeOutput {
 public:
  // Checks `target` and creates the temporary file; see Ready().
  explicit TSafeOutput(const std::filesystem::path& target, const std::vector<TKeptFile>& kept = {},
                       TProjectNames projectNames = TProjectNames::kAllowed);
  ~TSafeOutput();
  TSafeOutput(const TSafeOutput&) = delete;
  TSafeOutput& operator=(const TSafeOutput&) = delete;

  // The temporary file is open and nothing has failed.
  bool Ready() const { return fReason.empty() && fDescriptor >= 0; }
  // Why the target cannot be written ("it is read-only", "it is the report
  // "/jobs/p.kv4o""), empty before any failure.
  const std::string& Reason() const { return fReason; }

  // The temporary file, for writers that take a descriptor or a name.
  int Descriptor() const { return fDescriptor; }
  const std::filesystem::path& Temporary() const { return fTemporary; }

  // Appends `bytes` to the temporary file; false (with the reason) when not
  // all could be written.
  bool Write(std::string_view bytes);
  // Puts the temporary file on disk and renames it over the target, which
  // keeps the permissions of the file it replaces. False with the reason
  // otherwise; the temporary file is removed then.
  bool Commit();

 private:
  bool Fail(std::string reason);
  bool Check(const std::vector<TKeptFile>& kept, TProjectNames projectNames);
  bool CreateTemporary();
  void RemoveTemporary();

  std::filesystem::path fTarget;    // as given
  std::filesystem::path fResolved;  // links followed: the file replaced
  std::string fReason;
  std::optional<struct stat> fExisting;
  std::filesystem::path fTemporary;
  std::optional<TInterruptCleanup> fCleanup;
  int fDescriptor = -1;
};

}  // namespace korvan::platform
