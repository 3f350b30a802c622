// Running the engine the way the desktop program does: names.dat beside the
// data file, the library loaded from the program's folder by file name, one
// call of IKORVAN(4, 3), the library unloaded and names.dat deleted.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace korvan {

inline constexpr const char* kEngineFileName = "KORVAN2021_DLL.so";
inline constexpr const char* kVersionText = "2021.4.3";

struct UserIdentification {
  std::string organisation = "KORVAN user";
  std::string city = "Unknown city";
  std::string region = "";
  std::int32_t idNumber = 0;
};

// The eight lines of names.dat for `dataPath`.
std::string RunDescriptionText(const std::filesystem::path& dataPath,
                               const UserIdentification& user);

struct EngineRun {
  bool called = false;      // the entry point was found and called
  std::int32_t result = 0;  // its result code when called
  std::string failure;      // why it was not called
};

// Makes the data file's folder current, writes names.dat, calls the engine
// in `engineFolder`, deletes names.dat and restores the current directory.
EngineRun RunEngine(const std::filesystem::path& dataPath,
                    const std::filesystem::path& engineFolder, const UserIdentification& user);

// The folder of the running executable.
std::filesystem::path ProgramFolder();

}  // namespace korvan
