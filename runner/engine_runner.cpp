#include "runner/engine_runner.h"

#include <system_error>

#include "korvan_version.h"
#include "platform/dynlib.h"
#include "runner/engine_library.h"
#include "runner/run_preparation.h"

namespace korvan {

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// One line of names.dat: a text with a line break would run on into the
// next line and shift every path after it.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  }
  return text;
}

// Restores the current directory when the run ends, whatever way it ends;
// when the directory the run started in is gone, there is nothing to
// restore.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(std::filesystem::current_path(readError_)) {}
  ~CurrentDirectoryGuard() {
    if (readError_) return;
    std::error_code ignored;
    std::filesystem::current_path(saved_, ignored);
  }

 private:
  std::error_code readError_;
  std::filesystem::path saved_;
};

}  // namespace

std::string RunDescriptionText(const std::filesystem::path& dataPath,
                               const UserIdentification& user) {
  std::filesystem::path path = dataPath;
  std::string location = Trimmed(OneLine(user.city));
  const std::string region = Trimmed(OneLine(user.region));
  if (!region.empty()) location += ", " + region;
  std::string text;
  text += std::string(kVersionText) + "\n";
  text += OneLine(user.organisation) + "\n";
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
  if (error) return std::filesystem::current_path(error);
  return exe.parent_path();
}

EngineRun RunEngine(const std::filesystem::path& dataPath,
                    const std::filesystem::path& engineFolder, const UserIdentification& user) {
  EngineRun run;
  std::error_code error;
  // Resolved before the run changes the current directory.
  const std::filesystem::path engineFile =
      std::filesystem::absolute(engineFolder / kEngineFileName, error);
  if (error) {
    run.failure = "cannot resolve " + (engineFolder / kEngineFileName).string();
    return run;
  }

  CurrentDirectoryGuard restoreDirectory;
  TRunPreparation preparation(dataPath, user);
  if (!preparation.Ready()) {
    run.preparation = preparation.Failure();
    run.failure = preparation.Message();
    if (!preparation.Detail().empty()) run.failure += " (" + preparation.Detail() + ")";
    return run;
  }
  TEngineLibrary engine(engineFile);
  if (engine.Load()) {
    run.result = engine.Call();
    run.called = true;
  } else if (engine.Failure() == TEngineLibrary::TFailure::kNotLoaded) {
    run.failure = platform::WithReason("Attempt to initialize DLL failed: " + engine.Error(),
                                       engine.Reason());
  } else {
    run.failure =
        platform::WithReason("the engine library has no entry point IKORVAN", engine.Reason());
  }
  return run;
}

}  // namespace korvan
