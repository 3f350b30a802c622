#include "staged_output.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace korvan {

namespace {

constexpr std::string_view kPrefix = ".korvan.";
constexpr std::string_view kSuffix = ".part";
constexpr std::size_t kMaxTagLength = 12;

struct TargetParts {
  std::string folder;
  std::string name;
};

TargetParts PartsOf(const std::string& target) {
  const std::size_t slash = target.find_last_of('/');
  if (slash == std::string::npos) return {".", target};
  return {slash == 0 ? "/" : target.substr(0, slash), target.substr(slash + 1)};
}

std::string TemporaryName(std::string_view tag) {
  return std::string(kPrefix) + std::to_string(::getpid()) + "." + std::string(tag) +
         std::string(kSuffix);
}

bool IsTag(std::string_view tag) {
  if (tag.empty() || tag.size() > kMaxTagLength) return false;
  for (const char c : tag) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// The process id in a temporary file's name; 0 when the name is not one.
pid_t PidOfTemporaryName(std::string_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return 0;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size());
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || !IsTag(name.substr(dot + 1))) return 0;
  const std::string_view digits = name.substr(0, dot);
  if (digits.empty() || digits.front() == '0') return 0;
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size()) return 0;
  return pid;
}

bool ProcessHasEnded(pid_t pid) {
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

void RemoveStaleTemporaryFiles(const std::string& target) {
  const int folder =
      ::open(PartsOf(target).folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
  if (folder < 0) return;
  DIR* entries = ::fdopendir(folder);
  if (!entries) {
    ::close(folder);
    return;
  }
  const pid_t own = ::getpid();
  while (const dirent* entry = ::readdir(entries)) {
    const pid_t pid = PidOfTemporaryName(entry->d_name);
    if (pid <= 0 || pid == own || !ProcessHasEnded(pid)) continue;
    struct stat info {};
    if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode)) {
      ::unlinkat(folder, entry->d_name, 0);
    }
  }
  ::closedir(entries);  // closes `folder` too
}

int StagedOutput::Create(const std::string& target, std::string_view tag) {
  Discard();
  CloseFolder();
  target_ = target;
  const TargetParts parts = PartsOf(target);
  if (parts.name.empty()) {
    errno = EISDIR;
    return -1;
  }
  // Names are taken relative to the folder, so that the temporary name is
  // never too long where the target's own path is not.
  folder_ = ::open(parts.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0) return -1;
  name_ = parts.name;
  temporaryName_ = TemporaryName(tag);
  // A leftover of this process's name (a run that stopped before it could
  // clean up) goes first; O_EXCL then makes a new file, never one reached
  // through a link or a FIFO left under the name.
  ::unlinkat(folder_, temporaryName_.c_str(), 0);
  const int fd = ::openat(folder_, temporaryName_.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return -1;
  pending_ = true;
  // The new file keeps the permissions the user gave the old one.
  struct stat info {};
  if (::fstatat(folder_, name_.c_str(), &info, 0) == 0 && S_ISREG(info.st_mode)) {
    ::fchmod(fd, info.st_mode & 0777);
  }
  return fd;
}

bool StagedOutput::Empty() {
  if (!pending_) return false;
  const int fd = ::openat(folder_, temporaryName_.c_str(),
                          O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
  return fd >= 0 && ::close(fd) == 0;
}

bool StagedOutput::PutInPlace() {
  if (!pending_) return true;
  if (::renameat(folder_, temporaryName_.c_str(), folder_, name_.c_str()) != 0) return false;
  pending_ = false;
  return true;
}

void StagedOutput::Discard() {
  if (!pending_) return;
  const int saved = errno;
  ::unlinkat(folder_, temporaryName_.c_str(), 0);
  errno = saved;
  pending_ = false;
}

void StagedOutput::CloseFolder() {
  if (folder_ >= 0) ::close(folder_);
  folder_ = -1;
}

bool PutInPlaceTogether(StagedOutput& plot, StagedOutput& report, const StagedOutput*& failed) {
  sigset_t all, previous;
  ::sigfillset(&all);
  ::pthread_sigmask(SIG_BLOCK, &all, &previous);
  failed = nullptr;
  // The plot file first: should the report then fail, the graphs at least
  // show this run's results, which its report would have told.
  if (!plot.PutInPlace()) {
    failed = &plot;
  } else if (!report.PutInPlace()) {
    failed = &report;
  }
  const int saved = errno;
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = saved;
  return failed == nullptr;
}

}  // namespace korvan
