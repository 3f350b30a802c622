#include "platform/safe_output.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>

namespace korvan::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = ".korvan.";
constexpr std::string_view kSuffix = ".part";
constexpr std::size_t kMaxTagLength = 12;
constexpr int kNameAttempts = 16;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Quoted(const fs::path& path) {
  return "\"" + path.string() + "\"";
}

// The pid of a temporary file's name, or 0 when the name is not one.
pid_t TemporaryOwner(std::string_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return 0;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size());
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot > 9) return 0;
  const std::string_view digits = name.substr(0, dot);
  const std::string_view tag = name.substr(dot + 1);
  if (tag.empty() || tag.size() > kMaxTagLength) return 0;
  for (const char c : tag) {
    if (!std::islower(static_cast<unsigned char>(c)) &&
        !std::isdigit(static_cast<unsigned char>(c)))
      return 0;
  }
  pid_t pid = 0;
  for (const char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

std::string RandomTag() {
  static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  std::string tag(8, ' ');
  for (char& c : tag) c = kLetters[pick(generator)];
  return tag;
}

// `path` with every link followed, as far as the path exists.
fs::path Resolved(const fs::path& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) return path;
  fs::path resolved = fs::weakly_canonical(absolute, error);
  return error ? absolute.lexically_normal() : resolved;
}

bool FullWrite(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::vector<TKeptFile> ProjectFiles(const fs::path& data) {
  const auto beside = [&data](const char* extension) {
    return fs::path(data).replace_extension(extension);
  };
  return {{data, "the project data file"},
          {beside(".kv4o"), "the report"},
          {beside(".kv4p"), "the plot data file"},
          {beside(".kv4r"), "the run-notes file"},
          {beside(".kv4g"), "the graph settings file"},
          {data.parent_path() / "names.dat", "the run description"}};
}

fs::path TemporaryPath(const fs::path& folder, std::string_view tag, pid_t pid) {
  return folder / (std::string(kPrefix) + std::to_string(pid) + "." + std::string(tag) +
                   std::string(kSuffix));
}

void RemoveStaleTemporaries(const fs::path& folder) {
  DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
  if (entries == nullptr) return;
  const int at = ::dirfd(entries);
  while (const dirent* entry = ::readdir(entries)) {
    const pid_t owner = TemporaryOwner(entry->d_name);
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to know
    struct stat info {};
    if (::fstatat(at, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
      ::unlinkat(at, entry->d_name, 0);
  }
  ::closedir(entries);
}

TSafeOutput::TSafeOutput(const fs::path& target, const std::vector<TKeptFile>& kept,
                         TProjectNames projectNames)
    : fTarget(target) {
  if (Check(kept, projectNames)) CreateTemporary();
}

TSafeOutput::~TSafeOutput() {
  RemoveTemporary();
}

bool TSafeOutput::Fail(std::string reason) {
  if (fReason.empty()) fReason = std::move(reason);
  RemoveTemporary();
  return false;
}

bool TSafeOutput::Check(const std::vector<TKeptFile>& kept, TProjectNames projectNames) {
  if (fTarget.empty()) return Fail("no name was given");
  fResolved = Resolved(fTarget);
  struct stat target {};
  if (::stat(fResolved.c_str(), &target) == 0) {
    fExisting = target;
  } else if (errno != ENOENT) {
    return Fail(std::strerror(errno));
  }
  for (const TKeptFile& file : kept) {
    struct stat info {};
    const bool same = Resolved(file.path) == fResolved ||
                      (fExisting && ::stat(file.path.c_str(), &info) == 0 &&
                       info.st_dev == target.st_dev && info.st_ino == target.st_ino);
    if (same) return Fail("it is " + file.role + " " + Quoted(file.path));
  }
  if (projectNames == TProjectNames::kRefused) {
    if (Lower(fResolved.filename().string()) == "names.dat")
      return Fail("names.dat is the name of a run description");
    const std::string extension = Lower(fResolved.extension().string());
    for (const char* own : {".kv4d", ".kv4o", ".kv4p", ".kv4r", ".kv4g", ".kv3d", ".kvd"}) {
      if (extension == own)
        return Fail("it has the extension " + extension + " of a project's files");
    }
  }
  if (fExisting) {
    if (S_ISDIR(target.st_mode)) return Fail("a folder has that name");
    if (!S_ISREG(target.st_mode)) return Fail("it exists and is not a regular file");
    if (::faccessat(AT_FDCWD, fResolved.c_str(), W_OK, AT_EACCESS) != 0) {
      return Fail(errno == EACCES || errno == EPERM ? "it is read-only" : std::strerror(errno));
    }
  }
  struct stat folder {};
  if (::stat(fResolved.parent_path().c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
    return Fail("the folder does not exist");
  }
  return true;
}

bool TSafeOutput::CreateTemporary() {
  const fs::path folder = fResolved.parent_path();
  RemoveStaleTemporaries(folder);
  const mode_t mode = fExisting ? fExisting->st_mode & 07777 : 0666;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    fTemporary = TemporaryPath(folder, RandomTag(), ::getpid());
    // Armed before the file exists, so that no signal can leave it behind.
    fCleanup.emplace(fTemporary);
    fDescriptor = ::open(fTemporary.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, mode);
    if (fDescriptor >= 0) return true;
    const int reason = errno;
    fCleanup.reset();
    fTemporary.clear();
    if (reason != EEXIST) return Fail(std::strerror(reason));
  }
  return Fail("no temporary file could be made beside it");
}

bool TSafeOutput::Write(std::string_view bytes) {
  if (!Ready()) return false;
  return FullWrite(fDescriptor, bytes) || Fail(std::strerror(errno));
}

bool TSafeOutput::Commit() {
  if (!Ready()) return false;
  // A full disk may show only when the data reach it.
  if (::fsync(fDescriptor) != 0) return Fail(std::strerror(errno));
  if (fExisting) {
    ::fchmod(fDescriptor, fExisting->st_mode & 07777);
    // Only an administrator can give the file back to its owner.
    if (::geteuid() == 0) (void)::fchown(fDescriptor, fExisting->st_uid, fExisting->st_gid);
  }
  const int descriptor = fDescriptor;
  fDescriptor = -1;
  if (::close(descriptor) != 0) return Fail(std::strerror(errno));
  if (::rename(fTemporary.c_str(), fResolved.c_str()) != 0) return Fail(std::strerror(errno));
  fTemporary.clear();
  fCleanup.reset();
  const int folder = ::open(fResolved.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);  // the rename itself on disk
    ::close(folder);
  }
  return true;
}

void TSafeOutput::RemoveTemporary() {
  if (fDescriptor >= 0) ::close(fDescriptor);
  fDescriptor = -1;
  if (!fTemporary.empty()) ::unlink(fTemporary.c_str());
  fTemporary.clear();
  fCleanup.reset();
}

}  // namespace korvan::platform
