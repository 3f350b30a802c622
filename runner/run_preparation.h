// The one way a run of the engine is prepared, shared by `korvan run` and the
// desktop program's Run Analysis. The engine finds its run description,
// names.dat, in the current directory, so a run must own the data file's
// folder while it runs: TRunPreparation checks what goes into names.dat,
// takes an exclusive lock on the folder (runs in one folder take turns, also
// between the runner and the desktop program), makes the folder the current
// directory and writes names.dat. Destroying the object (or Release) deletes
// names.dat and drops the lock; so does SIGINT or SIGTERM, which then ends
// the program (TInterruptCleanup). A names.dat that no run left behind is
// never replaced or deleted: the run is refused.
//
//   TRunPreparation run(dataPath, user);
//   if (!run.Ready()) { show run.Message(); stop; }   // nothing was written
//   ... load the engine, call IKORVAN(4, 3), unload it ...
//   // names.dat is deleted and the lock dropped when `run` goes out of scope
//
// The object does not restore the current directory: the desktop program
// leaves it at the data file's folder, and the runner restores its own. The
// caller must not change it between preparing and calling the engine.
// The preparation never blocks on a FIFO or device, and waits for a busy
// folder at most `lockWait`. It uses no Qt, so both programs can link it.
#pragma once

#include <chrono>
#include <climits>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/interrupt_cleanup.h"
#include "runner/engine_runner.h"

namespace korvan {

// The longest path the engine reads from names.dat: the platform's limit,
// less the terminating NUL.
inline constexpr std::size_t kMaxRunPathLength = PATH_MAX - 1;

// The four files of one run, all absolute.
struct RunFiles {
  std::filesystem::path data;    // the project data file (".kv4d")
  std::filesystem::path report;  // ".kv4o"
  std::filesystem::path plot;    // ".kv4p"
  std::filesystem::path notes;   // ".kv4r"
};

// The run files of `dataPath` made absolute against the current directory;
// empty paths when that directory no longer exists.
RunFiles RunFilesFor(const std::filesystem::path& dataPath);

enum class RunPreparationFailure {
  kNone,
  // The data path is empty, longer than the engine reads, holds a line
  // break or NUL, ends in a blank (which the engine drops), is names.dat,
  // or has the extension of a file the run writes (.kv4o, .kv4p, .kv4r).
  kDataPathRefused,
  // The identification number is outside the 32-bit range.
  kIdentificationRefused,
  // The folder cannot be opened, locked or made the current directory.
  kFolderUnavailable,
  // Another run held the folder for the whole wait.
  kFolderBusy,
  // names.dat could not be written; an earlier one is left as it was and
  // the engine must not be called.
  kNamesNotWritten,
  // The folder holds a names.dat that is not a run description a run left
  // behind: a file of the user's own, which the run would replace (a
  // folder of that name cannot be replaced: kNamesNotWritten).
  kForeignNames,
};

// Shown by the desktop program when names.dat cannot be written.
inline constexpr const char* kNamesNotWrittenMessage = "An error occured while writing file names";

class TRunPreparation {
 public:
  static constexpr std::chrono::milliseconds kDefaultLockWait{60'000};

  // Checks, locks, enters the folder and writes names.dat; see Ready().
  // Identification texts with line breaks are written with blanks instead.
  TRunPreparation(const std::filesystem::path& dataPath, const UserIdentification& user,
                  std::chrono::milliseconds lockWait = kDefaultLockWait);
  ~TRunPreparation() { Release(); }
  TRunPreparation(const TRunPreparation&) = delete;
  TRunPreparation& operator=(const TRunPreparation&) = delete;

  // True when names.dat is written, the lock held and the folder current:
  // the engine may be called.
  bool Ready() const { return failure_ == RunPreparationFailure::kNone; }
  RunPreparationFailure Failure() const { return failure_; }
  // Why the run cannot go on (empty when ready). For kNamesNotWritten it is
  // kNamesNotWrittenMessage; Detail() holds the system's reason.
  const std::string& Message() const { return message_; }
  const std::string& Detail() const { return detail_; }
  const RunFiles& Files() const { return files_; }

  // Deletes names.dat and drops the lock; safe to call twice.
  void Release();

 private:
  bool Fail(RunPreparationFailure failure, std::string message, std::string detail = {});
  bool CheckDataPath(const std::filesystem::path& dataPath);
  bool LockFolder(std::chrono::milliseconds wait);
  bool CheckEarlierNames();
  bool WriteNames(const std::string& text);

  RunPreparationFailure failure_ = RunPreparationFailure::kNone;
  std::string message_;
  std::string detail_;
  RunFiles files_;
  int folder_ = -1;  // the locked folder, open while the lock is held
  bool namesWritten_ = false;
  // If a signal ends the run: names.dat's temporary file while it is
  // written, then names.dat and the engine's temporary outputs (the engine
  // runs in this process, so they carry its pid).
  std::optional<platform::TInterruptCleanup> temporaryCleanup_;
  std::deque<platform::TInterruptCleanup> runCleanup_;
};

}  // namespace korvan
