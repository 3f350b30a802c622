#include "engine_runner.h"

#include <fstream>
#include <system_error>

#include "dynlib.h"

namespace korvan {

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// Restores the current directory when the run ends, whatever way it ends.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(std::filesystem::current_path()) {}
  ~CurrentDirectoryGuard() {
    std::error_code ignored;
    std::filesystem::current_path(saved_, ignored);
  }

 private:
  std::filesystem::path saved_;
};

}  // namespace

std::string RunDescriptionText(const std::filesystem::path& dataPath,
                               const UserIdentification& user) {
  std::filesystem::path path = dataPath;
  std::string location = Trimmed(user.city);
  const std::string region = Trimmed(user.region);
  if (!region.empty()) location += ", " + region;
  std::string text;
  text += std::string(kVersionText) + "\n";
  text += user.organisation + "\n";
  text += location + "\n";
  text += std::to_string(user.idNumber) + "\n";
  text += path.string() + "\n";
  for (const char* extension : {".kv4o", ".kv4p", ".kv4r"}) {
    text += std::filesystem::path(path).replace_extension(extension).string() + "\n";
  }
  return text;
}

std::filesystem::path ProgramFolder() {
  std::error_code error;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path();
  return exe.parent_path();
}

EngineRun RunEngine(const std::filesystem::path& dataPath,
                    const std::filesystem::path& engineFolder, const UserIdentification& user) {
  EngineRun run;
  std::error_code error;
  const std::filesystem::path absoluteData = std::filesystem::absolute(dataPath, error);
  if (error) {
    run.failure = "cannot resolve " + dataPath.string();
    return run;
  }
  const std::filesystem::path engineFile =
      std::filesystem::absolute(engineFolder / kEngineFileName, error);

  CurrentDirectoryGuard restoreDirectory;
  std::filesystem::current_path(absoluteData.parent_path(), error);
  if (error) {
    run.failure = "cannot enter the folder of " + absoluteData.string();
    return run;
  }
  {
    std::ofstream names("names.dat", std::ios::binary | std::ios::trunc);
    names << RunDescriptionText(absoluteData, user);
    if (!names) run.failure = "An error occured while writing file names";
  }
  try {
    platform::TDynamicLibrary library(engineFile.string(), true);
    using EntryPoint = std::int32_t (*)(std::int32_t, std::int32_t);
    auto entry = reinterpret_cast<EntryPoint>(library.FindProcedure("IKORVAN"));
    if (entry) {
      run.result = entry(4, 3);
      run.called = true;
      run.failure.clear();
    } else {
      run.failure = "the engine library has no entry point IKORVAN";
    }
  } catch (const platform::EDLLError& dllError) {
    run.failure = std::string("Attempt to initialize DLL failed: ") + dllError.what();
  }
  std::filesystem::remove("names.dat", error);
  return run;
}

}  // namespace korvan
