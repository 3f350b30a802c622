// The runs of a design study's variants: one child process per variant that
// does what `korvan run NAME.kv4d` does, in the variant's own folder (the
// engine reads names.dat from the current folder, and one call is one run),
// a given number at a time. A stop request (a readable descriptor: a signal,
// the Cancel button) sends SIGTERM to the runs under way, which remove
// names.dat and their temporary files, and waits for them; no child is left
// behind. No Qt: the command and the desktop program share it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace korvan {

// One run to make: `korvan run name` in `folder`, its standard output and
// error into `log`.
struct TVariantJob {
  std::filesystem::path folder;
  std::string name;
  std::filesystem::path log;
};

struct TVariantRunResult {
  bool ran = false;     // the child was started and has ended
  bool exited = false;  // it ended by exit (else by a signal)
  int status = -1;      // its exit status, or the signal's number
};

// Starts the run of `job` in a child process in the job's folder, its
// standard output and error going to the job's log; the child's pid, or -1
// with the reason in `failure`.
using TVariantLauncher = std::function<pid_t(const TVariantJob& job, std::string& failure)>;

// `runner run NAME` (the program korvan) started afresh, with `environment`
// ("NAME=value" entries that replace or add to this process's own): for a
// program with threads of its own, such as the desktop program.
TVariantLauncher SpawnedRunner(std::filesystem::path runner,
                               const std::vector<std::string>& environment = {});

// `run(NAME)` in a copy of this process, which ends with its result as exit
// status: no program to load, so a run costs little more than the engine's
// work. Only for a program without other threads at the time (korvan).
TVariantLauncher ForkedRunner(std::function<int(const std::string& name)> run);

class TVariantRuns {
 public:
  explicit TVariantRuns(TVariantLauncher launcher);
  // Ends and waits for any child still running.
  ~TVariantRuns();
  TVariantRuns(const TVariantRuns&) = delete;
  TVariantRuns& operator=(const TVariantRuns&) = delete;

  // Runs every job, `parallel` at a time, in order; `finished(i)` is called
  // as job i ends. False when the stop descriptor `stop` (when not -1)
  // became readable, or a child could not be started (Failure() says why):
  // the runs under way were ended then, and they and the jobs not started
  // keep ran false.
  bool Run(const std::vector<TVariantJob>& jobs, int parallel, int stop,
           const std::function<void(std::size_t)>& finished = {});

  const std::vector<TVariantRunResult>& Results() const { return fResults; }
  const std::string& Failure() const { return fFailure; }

 private:
  struct TRunning {
    pid_t pid = -1;
    int exitWatch = -1;  // readable when the child ends (a pidfd), or -1
    std::size_t job = 0;
  };
  bool Start(const TVariantJob& job, std::size_t index);
  // Reaps the children that have ended; true when any did.
  bool ReapEnded(const std::function<void(std::size_t)>& finished, bool wait);
  void EndAll();

  TVariantLauncher fLauncher;
  std::vector<TVariantRunResult> fResults;
  std::vector<TRunning> fRunning;
  std::string fFailure;
};

// The environment of this process with `overrides` ("NAME=value") put in.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides);

}  // namespace korvan
