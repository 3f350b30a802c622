// Shared by the run-safety tests: a scene (a fresh folder holding the sample
// project and an earlier run's files, set up by short written steps) and
// child processes that may fail, hang (an alarm ends them after a minute)
// or meet a file-size limit without taking the test program with them.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace korvan::testing {

namespace fs = std::filesystem;

inline std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

inline void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

inline void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// The folder holds pile.kv4d (the sample project) and an earlier pile.kv4o,
// pile.kv4p and pile.kv4r; it is removed with the scene.
class Scene {
 public:
  explicit Scene(const std::string& name)
      : folder_(fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "sub");
    Make("copy pile.kv4d; text pile.kv4o; text pile.kv4p; text pile.kv4r");
  }
  ~Scene() {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // "@" stands for the folder; "{NUL}" for a NUL, "{4100}" for 4100
  // letters, and "{255}" for as many as make the path up to its end 255
  // characters long. A name that is no absolute path lies in the folder.
  std::string Path(std::string name) const {
    Replace(name, "@", folder_.string());
    Replace(name, "{NUL}", std::string(1, '\0'));
    Replace(name, "{4100}", std::string(4100, 'p'));
    if (const auto at = name.find("{255}"); at != std::string::npos) {
      name.replace(at, 5, std::string(255 - folder_.native().size() - 1 - at, 'r'));
    }
    return name.starts_with('/') ? name : (folder_ / name).string();
  }
  const fs::path& Folder() const { return folder_; }

  // Steps separated by ";": "copy NAME" (the sample project), "brief NAME"
  // (the sample without the distributions in its report), "text NAME"
  // (a file of its own), "fifo NAME", "socket NAME", "folder NAME",
  // "link NAME" and "hard NAME" (symbolic and hard links to pile.kv4d),
  // "grow NAME" (beyond 64 MB), "lock" (the folder made read-only), "share"
  // (the folder and its files made writable for every user) and "readonly
  // NAME" (a file no user but root may write).
  void Make(const std::string& steps) const {
    for (const std::string& step : Split(steps, ';')) {
      std::istringstream words(step);
      std::string verb, name;
      words >> verb;
      std::getline(words >> std::ws, name, '\0');  // names may hold a line break
      const fs::path path = Path(name);
      if (verb != "lock" && verb != "grow" && verb != "share" && verb != "readonly") {
        fs::remove(path);
      }
      if (verb == "copy")
        fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / "driven-pile-clay-sand.kv4d", path);
      if (verb == "brief") {
        std::string brief = ReadText(fs::path(KORVAN_EXAMPLES_DIR) / "driven-pile-clay-sand.kv4d");
        Replace(brief, "\n60 0 1\n", "\n60 1 1\n");
        WriteText(path, brief);
      }
      if (verb == "text") WriteText(path, "an earlier file, " + name + "\n");
      if (verb == "fifo") ::mkfifo(path.c_str(), 0644);
      if (verb == "folder") fs::create_directory(path);
      if (verb == "link") fs::create_symlink(Path("pile.kv4d"), path);
      if (verb == "hard") fs::create_hard_link(Path("pile.kv4d"), path);
      if (verb == "grow") fs::resize_file(path, (std::uintmax_t{64} << 20) + 1);
      if (verb == "readonly") {
        fs::permissions(path,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      }
      if (verb == "share") {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
          if (entry.is_regular_file()) {
            fs::permissions(
                entry.path(),
                fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::add);
          }
        }
        fs::permissions(folder_, fs::perms::all);
      }
      if (verb == "lock") {
        fs::permissions(folder_,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
      }
      if (verb == "socket") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::close(fd);
      }
    }
  }

  // The kind and, for a regular file, the bytes of each blank-separated
  // name; a FIFO is never opened.
  std::vector<std::string> Snapshot(const std::string& names) const {
    std::vector<std::string> kinds;
    for (const std::string& name : Split(names, ' ')) {
      struct stat info {};
      const std::string path = Path(name);
      if (::lstat(path.c_str(), &info) != 0)
        kinds.push_back(name + " absent");
      else if (S_ISREG(info.st_mode))
        kinds.push_back(name + " " + ReadText(path));
      else
        kinds.push_back(name + " of mode " + std::to_string(info.st_mode));
    }
    return kinds;
  }

 private:
  fs::path folder_;
};

struct ChildOptions {
  fs::path folder;  // the child's current directory when given
  std::vector<std::pair<std::string, std::string>> environment;
  rlim_t fileSizeLimit = RLIM_INFINITY;  // bytes any one file may reach
  bool unprivileged = false;             // a root child becomes nobody
};

struct ChildOutcome {
  bool exited = false;  // false when a signal (a hang's alarm) ended it
  int status = -1;
  std::string output;  // standard output and error together
};

inline ChildOutcome RunInChild(const std::function<int()>& body, const ChildOptions& options) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {};
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeEnds[1], 1);
    ::dup2(pipeEnds[1], 2);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    ::alarm(60);
    if (!options.folder.empty() && ::chdir(options.folder.c_str()) != 0) ::_exit(120);
    for (const auto& [name, value] : options.environment) ::setenv(name.c_str(), value.c_str(), 1);
    if (options.fileSizeLimit != RLIM_INFINITY) {
      std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead
      const rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (options.unprivileged && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(121);
    }
    const int status = body();
    std::fflush(nullptr);
    ::_exit(status);
  }
  ::close(pipeEnds[1]);
  ChildOutcome outcome;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    outcome.output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipeEnds[0]);
  int wait = 0;
  if (pid < 0 || ::waitpid(pid, &wait, 0) != pid) return outcome;
  outcome.exited = WIFEXITED(wait);
  outcome.status = outcome.exited ? WEXITSTATUS(wait) : -WTERMSIG(wait);
  return outcome;
}

// Replaces the child with `korvan run` of `data`, the runner taken from
// `binFolder` (the build's own by default).
inline int ExecKorvanRun(std::string data, const std::string& binFolder = KORVAN_BIN_DIR) {
  std::string program = binFolder + "/korvan", run = "run";
  char* argv[] = {program.data(), run.data(), data.data(), nullptr};
  ::execv(program.c_str(), argv);
  return 127;
}

// A copy of the runner and the engine that any user may run: the build
// folder may lie below a folder only its owner can enter (a clone in a
// private temporary folder), where an unprivileged child could not reach it.
inline const std::string& RunnerForEveryone() {
  static const std::string folder = [] {
    const fs::path copy =
        fs::temp_directory_path() / ("korvan_runner_" + std::to_string(::getpid()));
    fs::create_directories(copy);
    for (const char* name : {"korvan", "KORVAN2021_DLL.so"}) {
      fs::copy_file(fs::path(KORVAN_BIN_DIR) / name, copy / name,
                    fs::copy_options::overwrite_existing);
    }
    fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(fs::temp_directory_path() / ("korvan_runner_" + std::to_string(::getpid())),
                     ignored);
    });
    return copy.string();
  }();
  return folder;
}

}  // namespace korvan::testing
