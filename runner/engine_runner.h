// A whole run of the engine for korvan run, the way the desktop program's
// Run Analysis runs it: names.dat beside the data file (TRunPreparation), the
// library loaded from the program's folder by file name (TEngineLibrary), one
// call of IKORVAN(4, 3), the library unloaded and names.dat deleted. Also the
// run's user and the text of names.dat, which both programs write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace korvan {

struct UserIdentification {
  std::string organisation = "KORVAN user";
  std::string city = "Unknown city";
  std::string region = "";
  // Wider than the engine reads, so that a number outside the 32-bit range
  // reaches the run preparation and is refused there, never wrapped.
  std::int64_t idNumber = 0;
};

// The eight lines of names.dat for `dataPath`. Line breaks and NULs in the
// identification texts become blanks, so each text stays on its own line.
// The paths are written as they are: TRunPreparation (run_preparation.h)
// refuses those names.dat cannot carry.
std::string RunDescriptionText(const std::filesystem::path& dataPath,
                               const UserIdentification& user);

enum class RunPreparationFailure;

struct EngineRun {
  bool called = false;      // the entry point was found and called
  std::int32_t result = 0;  // its result code when called
  std::string failure;      // why it was not called
  // Set when the run was stopped before the engine was loaded.
  std::optional<RunPreparationFailure> preparation;
};

// Prepares the run (TRunPreparation: checks, folder lock, names.dat in the
// data file's folder, which becomes the current directory), calls the engine
// in `engineFolder`, deletes names.dat, drops the lock and restores the
// current directory (when it still exists).
EngineRun RunEngine(const std::filesystem::path& dataPath,
                    const std::filesystem::path& engineFolder, const UserIdentification& user);

// The folder of the running executable.
std::filesystem::path ProgramFolder();

}  // namespace korvan
