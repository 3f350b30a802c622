#include "runner/run_preparation.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/safe_output.h"

namespace korvan {

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds kLockRetry{20};
// A run description is eight lines of at most a path each.
constexpr std::size_t kMaxNamesBytes = 8 * (kMaxRunPathLength + 1);

std::string SystemReason() {
  return std::strerror(errno);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

RunFiles RunFilesFor(const fs::path& dataPath) {
  RunFiles files;
  std::error_code error;
  files.data = fs::absolute(dataPath, error);
  if (error || dataPath.empty()) return {};
  files.report = fs::path(files.data).replace_extension(".kv4o");
  files.plot = fs::path(files.data).replace_extension(".kv4p");
  files.notes = fs::path(files.data).replace_extension(".kv4r");
  return files;
}

TRunPreparation::TRunPreparation(const fs::path& dataPath, const UserIdentification& user,
                                 std::chrono::milliseconds lockWait) {
  if (!CheckDataPath(dataPath)) return;
  if (user.idNumber < std::numeric_limits<std::int32_t>::min() ||
      user.idNumber > std::numeric_limits<std::int32_t>::max()) {
    Fail(RunPreparationFailure::kIdentificationRefused,
         "The identification number " + std::to_string(user.idNumber) +
             " is outside the range -2147483648 to 2147483647.");
    return;
  }
  if (!LockFolder(lockWait)) return;
  platform::RemoveStaleTemporaries(files_.data.parent_path());
  if (!CheckEarlierNames()) return;
  WriteNames(RunDescriptionText(files_.data, user));
}

bool TRunPreparation::Fail(RunPreparationFailure failure, std::string message, std::string detail) {
  failure_ = failure;
  message_ = std::move(message);
  detail_ = std::move(detail);
  Release();
  return false;
}

bool TRunPreparation::CheckDataPath(const fs::path& dataPath) {
  const std::string& given = dataPath.native();
  const auto refuse = [&](const std::string& why) {
    return Fail(RunPreparationFailure::kDataPathRefused, why);
  };
  if (given.empty()) return refuse("The data file's path is empty.");
  if (given.find('\0') != std::string::npos) return refuse("The data file's path holds a NUL.");
  if (given.find_first_of("\r\n") != std::string::npos) {
    return refuse("The data file's path holds a line break, which names.dat cannot carry.");
  }
  files_ = RunFilesFor(dataPath);
  if (files_.data.empty()) {
    return Fail(RunPreparationFailure::kFolderUnavailable,
                "The current folder no longer exists, so " + given + " cannot be found.");
  }
  const std::string data = files_.data.string();
  if (std::isspace(static_cast<unsigned char>(data.back()))) {
    return refuse("The data file's name ends in a blank, which the engine would drop: " + data);
  }
  if (EqualsIgnoringCase(files_.data.filename().string(), "names.dat")) {
    return refuse(
        "A data file cannot be named names.dat: the run writes its run description "
        "under that name.");
  }
  if (files_.data == files_.report || files_.data == files_.plot || files_.data == files_.notes) {
    return refuse(
        "The data file has the extension of a file the run writes (.kv4o, .kv4p or "
        ".kv4r): " +
        data);
  }
  for (const fs::path* path : {&files_.data, &files_.report, &files_.plot, &files_.notes}) {
    if (path->native().size() > kMaxRunPathLength) {
      return refuse("The path " + path->string() + " is longer than " +
                    std::to_string(kMaxRunPathLength) + " characters.");
    }
  }
  return true;
}

bool TRunPreparation::LockFolder(std::chrono::milliseconds wait) {
  const fs::path folder = files_.data.parent_path();
  folder_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0) {
    return Fail(RunPreparationFailure::kFolderUnavailable,
                "The folder " + folder.string() + " cannot be opened.", SystemReason());
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(folder_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      return Fail(RunPreparationFailure::kFolderUnavailable,
                  "The folder " + folder.string() + " cannot be locked for the run.",
                  SystemReason());
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return Fail(RunPreparationFailure::kFolderBusy, "Another run is using the folder " +
                                                          folder.string() +
                                                          "; try again when it has finished.");
    }
    std::this_thread::sleep_for(kLockRetry);
  }
  // The engine reads names.dat from the current directory.
  if (::fchdir(folder_) != 0) {
    return Fail(RunPreparationFailure::kFolderUnavailable,
                "The folder " + folder.string() + " cannot be entered.", SystemReason());
  }
  return true;
}

// A names.dat that a run left behind (a run killed outright) is a run
// description of a data file in this folder, as RunDescriptionText writes
// it; anything else under that name is the user's and is kept.
bool TRunPreparation::CheckEarlierNames() {
  const int fd = ::openat(folder_, "names.dat", O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return true;
  std::string text;
  struct stat info {};
  const bool known = fd >= 0 && ::fstat(fd, &info) == 0;
  if (known && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return true;  // nothing can replace a folder: writing names.dat fails
  }
  bool leftover =
      known && S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= kMaxNamesBytes;
  if (leftover) {
    text.resize(static_cast<std::size_t>(info.st_size));
    leftover = ::read(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  }
  if (fd >= 0) ::close(fd);
  std::vector<std::string> lines;
  if (leftover && text.ends_with('\n')) {
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
  }
  leftover = lines.size() == 8 && !lines[0].empty();
  if (leftover) {
    const fs::path data = lines[4];
    struct stat folder {};
    struct stat named {};
    leftover = data.is_absolute() && EqualsIgnoringCase(data.extension().string(), ".kv4d") &&
               ::fstat(folder_, &folder) == 0 && ::stat(data.parent_path().c_str(), &named) == 0 &&
               named.st_dev == folder.st_dev && named.st_ino == folder.st_ino;
    const char* extensions[] = {".kv4o", ".kv4p", ".kv4r"};
    for (int i = 0; leftover && i < 3; ++i) {
      leftover = lines[5 + i] == fs::path(data).replace_extension(extensions[i]).string();
    }
  }
  if (leftover) return true;
  return Fail(RunPreparationFailure::kForeignNames,
              "The folder " + files_.data.parent_path().string() +
                  " holds a file names.dat that no run left there; a run would replace it. "
                  "Move or rename that file, then run again.");
}

bool TRunPreparation::WriteNames(const std::string& text) {
  // Written beside names.dat and renamed over it, so that the engine reads
  // either the whole new description or none: never an earlier one, and
  // never through a FIFO or device left under that name.
  const fs::path folder = files_.data.parent_path();
  const fs::path temporary = platform::TemporaryPath(folder, "names", ::getpid());
  const std::string temporaryName = temporary.filename().string();
  // Armed before either file exists: a signal from here on leaves neither.
  temporaryCleanup_.emplace(temporary);
  runCleanup_.emplace_back(folder / "names.dat");
  runCleanup_.emplace_back(
      platform::TemporaryPath(files_.report.parent_path(), "report", ::getpid()));
  runCleanup_.emplace_back(platform::TemporaryPath(files_.plot.parent_path(), "plot", ::getpid()));
  ::unlinkat(folder_, temporaryName.c_str(), 0);  // left by a run of a pid now reused
  const int fd =
      ::openat(folder_, temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  std::string reason;
  if (fd < 0) {
    reason = SystemReason();
  } else {
    for (std::size_t done = 0; done < text.size() && reason.empty();) {
      const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0)
        reason = SystemReason();
      else
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && reason.empty()) reason = SystemReason();
    if (reason.empty() && ::renameat(folder_, temporaryName.c_str(), folder_, "names.dat") != 0) {
      reason = SystemReason();
    }
    if (!reason.empty()) ::unlinkat(folder_, temporaryName.c_str(), 0);
  }
  temporaryCleanup_.reset();
  if (!reason.empty()) {
    runCleanup_.clear();
    return Fail(RunPreparationFailure::kNamesNotWritten, kNamesNotWrittenMessage, reason);
  }
  namesWritten_ = true;
  return true;
}

void TRunPreparation::Release() {
  if (folder_ < 0) return;
  if (namesWritten_) ::unlinkat(folder_, "names.dat", 0);
  namesWritten_ = false;
  runCleanup_.clear();
  ::close(folder_);  // drops the lock
  folder_ = -1;
}

}  // namespace korvan
