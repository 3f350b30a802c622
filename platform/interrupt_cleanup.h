// Files that must not outlive the program when SIGINT or SIGTERM ends it: the
// temporary file of a save under way, the run description of a run and the
// engine's temporary outputs. While a TInterruptCleanup lives, its path is
// removed if either signal arrives; the process then ends with the status a
// shell gives a process stopped by that signal (130 for SIGINT, 143 for
// SIGTERM). The handler only unlinks paths copied in beforehand and calls
// _exit, so it is safe whatever the program was doing. A signal that the
// program was started with ignored (nohup, a background job) stays ignored.
#pragma once

#include <filesystem>

namespace korvan::platform {

class TInterruptCleanup {
 public:
  // Registers `path`; the first registration installs the handler if
  // Install has not.
  explicit TInterruptCleanup(const std::filesystem::path& path);
  ~TInterruptCleanup();
  TInterruptCleanup(const TInterruptCleanup&) = delete;
  TInterruptCleanup& operator=(const TInterruptCleanup&) = delete;

  // False when the path is longer than the system's limit or every slot is
  // taken; the path is then left where it is on a signal.
  bool Registered() const { return fSlot >= 0; }

  // The exit status after `signal` (128 + its number).
  static constexpr int ExitStatus(int signal) { return 128 + signal; }
  // Installs the handler now, so that the program ends with those statuses
  // also before any file is registered.
  static void Install();

 private:
  int fSlot = -1;
};

}  // namespace korvan::platform
