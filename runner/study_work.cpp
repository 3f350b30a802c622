#include "runner/study_work.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <string_view>

namespace korvan {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLogName = "run.log";

constexpr std::string_view kFolderPrefix = "korvan-study-";

std::string Reason(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

// The process whose study folder `name` is ("korvan-study-<pid>-XXXXXX"),
// or 0 for any other name.
pid_t FolderOwner(std::string_view name) {
  if (!name.starts_with(kFolderPrefix)) return 0;
  name.remove_prefix(kFolderPrefix.size());
  pid_t owner = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), owner);
  if (error != std::errc() || end == name.data() || *end != '-') return 0;
  return owner;
}

// Removes the study folders of this user's processes that no longer run.
void RemoveStaleStudyFolders(const fs::path& temporary) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(temporary, error)) {
    const pid_t owner = FolderOwner(entry.path().filename().native());
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to know
    struct stat info {};
    if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid()) {
      continue;
    }
    std::error_code ignored;
    fs::remove_all(entry.path(), ignored);
  }
}

}  // namespace

TStudyWork::TStudyWork(std::vector<TStudyVariantFile> variants) : fVariants(std::move(variants)) {
  std::error_code error;
  const fs::path temporary = fs::temp_directory_path(error);
  if (error) {
    fFailure = "no temporary folder: " + error.message();
    return;
  }
  RemoveStaleStudyFolders(temporary);
  std::string pattern =
      (temporary / (std::string(kFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    fFailure = Reason("cannot make a folder in " + temporary.string(), errno);
    return;
  }
  fFolder = pattern;
  for (std::size_t i = 0; i < fVariants.size() && WriteVariant(i); ++i) {
  }
}

TStudyWork::~TStudyWork() {
  std::error_code ignored;
  if (!fFolder.empty()) fs::remove_all(fFolder, ignored);
}

fs::path TStudyWork::VariantFolder(std::size_t index) const {
  return fFolder / std::to_string(index + 1);
}

fs::path TStudyWork::VariantFile(std::size_t index, const char* extension) const {
  return (VariantFolder(index) / fVariants[index].name).replace_extension(extension);
}

bool TStudyWork::WriteVariant(std::size_t index) {
  const fs::path folder = VariantFolder(index);
  if (::mkdir(folder.c_str(), 0700) != 0) {
    fFailure = Reason("cannot make the folder " + folder.string(), errno);
    return false;
  }
  const fs::path file = VariantFile(index, ".kv4d");
  const int descriptor =
      ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (descriptor < 0) {
    fFailure = Reason("cannot write " + file.string(), errno);
    return false;
  }
  const std::string& bytes = fVariants[index].bytes;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(descriptor, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const int error = errno;
  if (::close(descriptor) != 0 || written != bytes.size()) {
    fFailure = Reason("cannot write " + file.string(), written != bytes.size() ? error : errno);
    return false;
  }
  return true;
}

bool TStudyWork::Run(const TVariantLauncher& launcher, int jobs, int stop,
                     const std::function<void(std::size_t)>& finished) {
  if (!Ready()) return false;
  std::vector<TVariantJob> runs;
  for (std::size_t i = 0; i < fVariants.size(); ++i) {
    runs.push_back({VariantFolder(i), fVariants[i].name, VariantFolder(i) / kLogName});
  }
  TVariantRuns variantRuns(launcher);
  const bool completed = variantRuns.Run(runs, jobs, stop, finished);
  fResults = variantRuns.Results();
  if (!completed && !variantRuns.Failure().empty()) fFailure = variantRuns.Failure();
  return completed;
}

std::vector<TVariantOutcome> TStudyWork::Outcomes(const TStudySettings& settings) const {
  std::vector<TVariantOutcome> outcomes;
  for (std::size_t i = 0; i < fVariants.size(); ++i) {
    const TVariantRunResult run = i < fResults.size() ? fResults[i] : TVariantRunResult{};
    outcomes.push_back(ReadVariantOutcome(fVariants[i].value, run, VariantFile(i, ".kv4o"),
                                          VariantFile(i, ".kv4p"), VariantFolder(i) / kLogName,
                                          settings));
  }
  return outcomes;
}

}  // namespace korvan
