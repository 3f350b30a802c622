#include "run_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace korvan {

namespace {

struct RunFile {
  const char* role = "";
  std::string path;
  bool output = false;
  bool exists = false;
  struct stat info {};
  std::string resolved;  // absolute, with links and dot segments resolved
};

std::string Resolved(const std::string& path) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  if (error) resolved = std::filesystem::absolute(path, error).lexically_normal();
  return error ? path : resolved.string();
}

bool SameFile(const RunFile& a, const RunFile& b) {
  if (a.resolved == b.resolved) return true;
  return a.exists && b.exists && a.info.st_dev == b.info.st_dev && a.info.st_ino == b.info.st_ino;
}

}  // namespace

std::string UnsafeRunFiles(const RunDescription& names, const std::string& runDescriptionPath) {
  struct Named {
    const char* role;
    const std::string& path;
    bool output;
    bool replaced;  // written anew by the run (the notes file is only created)
  };
  const Named named[] = {
      {"PROJECT DATA FILE", names.DATAPATH, false, false},
      {"RUN DESCRIPTION", runDescriptionPath, false, false},
      {"REPORT FILE", names.REPORTPATH, true, true},
      {"PLOT FILE", names.PLOTPATH, true, true},
      {"RUN-NOTES FILE", names.NOTESPATH, true, false},
  };
  std::vector<RunFile> files;
  for (const Named& candidate : named) {
    if (candidate.path.empty()) continue;
    RunFile& file = files.emplace_back();
    file.role = candidate.role;
    file.path = candidate.path;
    file.output = candidate.output;
    // stat never opens the file, so a FIFO or a device cannot block here.
    file.exists = ::stat(file.path.c_str(), &file.info) == 0;
    if (file.exists && !S_ISREG(file.info.st_mode)) {
      return std::string("THE ") + file.role + " IS NOT A REGULAR FILE: " + file.path;
    }
    // A file the user may not write (made read-only to keep it) is never
    // replaced, although its folder would allow it.
    if (file.exists && candidate.replaced &&
        ::faccessat(AT_FDCWD, file.path.c_str(), W_OK, AT_EACCESS) != 0) {
      return std::string("THE ") + file.role + " CANNOT BE WRITTEN: " + file.path + " (" +
             std::generic_category().message(errno) + ")";
    }
    file.resolved = Resolved(file.path);
  }
  for (std::size_t j = 0; j < files.size(); ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      if (files[j].output && SameFile(files[i], files[j])) {
        return std::string("THE ") + files[j].role + " IS THE " + files[i].role + ": " +
               files[j].path;
      }
    }
  }
  return {};
}

}  // namespace korvan
