// korvan run: the project data file analysed by the engine beside the
// program, exactly as the desktop program's Run Analysis does it, and the
// head load against head movement table printed.
#pragma once

#include <string>

namespace korvan {

// Exit statuses of `korvan run` besides the engine's result codes (0..9).
enum RunExitStatus {
  kUsageError = 64,
  kRefused = 65,
  kNoInput = 66,
  kEngineMissing = 70,
  // The engine reported success, but its plot data file holds no complete
  // results.
  kIncompleteResults = 70,
  kSystemError = 71,
  kCannotCreate = 73,
  // Standard output could not be written (every command).
  kOutputError = 74,
  kBusy = 75,
};

// Runs the engine on the data file `argument` (a path, relative to the
// current folder or absolute) with the user named by the environment
// (KORVAN_ORGANISATION, KORVAN_CITY, KORVAN_REGION, KORVAN_ID); prints the
// results and the paths of the files, or says why there are none. Returns
// the exit status.
int RunCommand(const std::string& argument);

}  // namespace korvan
