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

// The pid of a process that has ended (a child waited for).
inline pid_t DeadPid() {
  static const pid_t pid = [] {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
  }();
  return pid;
}

// A folder holding the sample project analysed by the runner, once per test
// program.
inline fs::path AnalysedSample() {
  static const fs::path folder = [] {
    const fs::path made =
        fs::temp_directory_path() / ("korvan_analysed_" + std::to_string(::getpid()));
    fs::create_directories(made);
    fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / "driven-pile-clay-sand.kv4d", made / "pile.kv4d",
                  fs::copy_options::overwrite_existing);
    const pid_t child = ::fork();
    if (child == 0) {
      const int quiet = ::open("/dev/null", O_WRONLY);
      ::dup2(quiet, 1);
      std::string program = std::string(KORVAN_BIN_DIR) + "/korvan", run = "run",
                  data = (made / "pile.kv4d").string();
      char* argv[] = {program.data(), run.data(), data.data(), nullptr};
      ::execv(program.c_str(), argv);
      ::_exit(127);
    }
    ::waitpid(child, nullptr, 0);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(fs::temp_directory_path() / ("korvan_analysed_" + std::to_string(::getpid())),
                     ignored);
    });
    return made;
  }();
  return folder;
}

// Graph settings of the analysed sample holding the block of its first
// graph (load distribution: a line per tip movement, a point per
// increment) and nothing after it. Its line names are texts a spreadsheet
// must take as literals and an XML file must not take raw.
inline std::string FirstGraphSettings() {
  std::istringstream plot(ReadText(AnalysedSample() / "pile.kv4p"));
  // Block 1: t-z curves; block 2: the tip curve; then the sizes of block 3.
  long curves = 0, points = 0, skipped = 0;
  std::string word;
  plot >> curves;
  for (long k = 0; k < curves; ++k) {
    plot >> word >> points >> word;
    for (long i = 0; i < 2 * points; ++i) plot >> word;
  }
  plot >> points;
  for (long i = 0; i < 2 * points; ++i) plot >> word;
  long movements = 0, increments = 0;
  plot >> movements >> increments >> skipped;
  const std::string names[] = {"=Page_1!", "=A1", "bell\a and escape\x1b", "tab\tkept"};
  std::ostringstream text;
  text << ":Plot Caption\nLoad Distribution\n"
       << movements << " " << increments << "   :LineCount, Count\n"
       << "1 : Show Legend\n0 : Do not Show Soil Layers\n0 : Do not Show Wall Geometry\n"
       << "1   :Markers Index\n10   :FontSize Index\n1   :LineWidth Index\n"
       << ":Graph Title\ncaption with a form feed\f\n1 : User Caption on Top\n";
  for (long k = 1; k <= movements; ++k)
    text << ":Legend, Line " << k << "\n" << names[(k - 1) % 4] << "\n";
  for (long k = 1; k <= movements; ++k) text << "1 1 : Active, Visible, Line " << k << "\n";
  return text.str();
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

  // "@" stands for the folder; "{NUL}" for a NUL, "{FF}" and "{FE}" for
  // those bytes (never valid UTF-8), "{FFFD}" for the replacement character
  // in UTF-8, "{dead}" for the pid of a process that has ended, "{240}" and
  // "{4100}" for as many letters, and "{255}" for as many as make the path
  // up to its end 255 characters long. A name that is no absolute path lies
  // in the folder.
  std::string Path(std::string name) const {
    Replace(name, "@", folder_.string());
    Expand(name);
    if (const auto at = name.find("{255}"); at != std::string::npos) {
      name.replace(at, 5, std::string(255 - folder_.native().size() - 1 - at, 'r'));
    }
    return name.starts_with('/') ? name : (folder_ / name).string();
  }
  const fs::path& Folder() const { return folder_; }

  // The placeholders of Path in any text (a command's argument).
  static void Expand(std::string& text) {
    Replace(text, "{NUL}", std::string(1, '\0'));
    Replace(text, "{FFFD}", "\xEF\xBF\xBD");
    Replace(text, "{FF}", "\xFF");
    Replace(text, "{FE}", "\xFE");
    Replace(text, "{dead}", std::to_string(DeadPid()));
    Replace(text, "{240}", std::string(240, 'n'));
    Replace(text, "{4100}", std::string(4100, 'p'));
  }

  // The entries of the folder whose names begin with `prefix`.
  std::vector<std::string> EntriesStartingWith(const std::string& prefix) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      if (entry.path().filename().string().starts_with(prefix))
        names.push_back(entry.path().filename().string());
    }
    return names;
  }

  // Steps separated by ";": "copy NAME" (the sample project), "brief NAME"
  // (the sample without the distributions in its report), "text NAME"
  // (a file of its own), "fifo NAME", "socket NAME", "folder NAME",
  // "link NAME" and "hard NAME" (symbolic and hard links to pile.kv4d),
  // "grow NAME" (beyond 64 MB), "lock" (the folder made read-only), "open"
  // (the folder made writable by everyone), "share" (the folder and its
  // files made writable for every user), "readonly NAME" (the file made
  // read-only), "cut NAME" (its last three bytes dropped, as by a run
  // killed while writing its last number), "stale NAME" (the run
  // description a run killed outright left for pile.kv4d), "analysed STEM"
  // (the report, plot data and run notes of the sample project's run as
  // STEM.kv4o, STEM.kv4p, STEM.kv4r), "settings NAME" (graph settings with
  // the first graph's block only, its line names "=Page_1!", "=A1" and
  // texts with control characters).
  void Make(const std::string& steps) const {
    for (const std::string& step : Split(steps, ';')) {
      std::istringstream words(step);
      std::string verb, name;
      words >> verb;
      std::getline(words >> std::ws, name, '\0');  // names may hold a line break
      const fs::path path = Path(name);
      if (verb == "analysed") {
        for (const char* extension : {".kv4o", ".kv4p", ".kv4r"}) {
          fs::copy_file(AnalysedSample() / (std::string("pile") + extension),
                        Path(name + extension), fs::copy_options::overwrite_existing);
        }
        continue;
      }
      if (verb == "readonly" || verb == "cut") {
        if (verb == "cut") fs::resize_file(path, fs::file_size(path) - 3);
        if (verb == "readonly") {
          fs::permissions(path,
                          fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        }
        continue;
      }
      if (verb == "open") {
        fs::permissions(folder_, fs::perms::all);
        continue;
      }
      if (verb != "lock" && verb != "grow" && verb != "share") fs::remove(path);
      if (verb == "stale") {
        std::string description = "2021.4.3\nKORVAN user\nUnknown city\n0\n";
        for (const char* extension : {".kv4d", ".kv4o", ".kv4p", ".kv4r"})
          description += Path(std::string("pile") + extension) + "\n";
        WriteText(path, description);
      }
      if (verb == "settings") WriteText(path, FirstGraphSettings());
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
  fs::path standardOutput;               // where standard output goes, when given
};

struct ChildOutcome {
  bool exited = false;  // false when a signal (a hang's alarm) ended it
  int status = -1;
  std::string output;  // standard output and error together
};

// A child started and not yet waited for: its pid and the reading end of
// the pipe that takes its output.
struct StartedChild {
  pid_t pid = -1;
  int output = -1;
};

inline StartedChild StartChild(const std::function<int()>& body, const ChildOptions& options) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {};
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = options.standardOutput.empty() ? pipeEnds[1]
                                                   : ::open(options.standardOutput.c_str(),
                                                            O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, 1);
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
  return {pid, pipeEnds[0]};
}

// Reads the child's output to its end and waits for it.
inline ChildOutcome FinishChild(const StartedChild& child) {
  ChildOutcome outcome;
  char buffer[4096];
  for (ssize_t n; (n = ::read(child.output, buffer, sizeof buffer)) > 0;) {
    outcome.output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(child.output);
  int wait = 0;
  if (child.pid < 0 || ::waitpid(child.pid, &wait, 0) != child.pid) return outcome;
  outcome.exited = WIFEXITED(wait);
  outcome.status = outcome.exited ? WEXITSTATUS(wait) : -WTERMSIG(wait);
  return outcome;
}

inline ChildOutcome RunInChild(const std::function<int()>& body, const ChildOptions& options) {
  const StartedChild child = StartChild(body, options);
  if (child.output < 0) return {};
  return FinishChild(child);
}

// Replaces the child with korvan and `arguments`, the program taken from
// `binFolder` (the build's own by default).
inline int ExecKorvan(std::vector<std::string> arguments,
                      const std::string& binFolder = KORVAN_BIN_DIR) {
  std::string program = binFolder + "/korvan";
  std::vector<char*> argv = {program.data()};
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  return 127;
}

// Replaces the child with `korvan run` of `data`, the runner taken from
// `binFolder` (the build's own by default).
inline int ExecKorvanRun(std::string data, const std::string& binFolder = KORVAN_BIN_DIR) {
  return ExecKorvan({"run", std::move(data)}, binFolder);
}

// A copy of the runner with `engine` as its KORVAN2021_DLL.so, in a folder
// that any user may reach: the build folder may lie below a folder only its
// owner can enter (a clone in a private temporary folder), where an
// unprivileged child could not reach it.
inline std::string RunnerWithEngine(const std::string& name, const fs::path& engine) {
  const fs::path copy =
      fs::temp_directory_path() / ("korvan_" + name + "_" + std::to_string(::getpid()));
  fs::create_directories(copy);
  fs::copy_file(fs::path(KORVAN_BIN_DIR) / "korvan", copy / "korvan",
                fs::copy_options::overwrite_existing);
  fs::copy_file(engine, copy / "KORVAN2021_DLL.so", fs::copy_options::overwrite_existing);
  fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  static std::vector<fs::path> made;
  if (made.empty()) {
    std::atexit([] {
      std::error_code ignored;
      for (const fs::path& folder : made) fs::remove_all(folder, ignored);
    });
  }
  made.push_back(copy);
  return copy.string();
}

inline const std::string& RunnerForEveryone() {
  static const std::string folder =
      RunnerWithEngine("runner", fs::path(KORVAN_BIN_DIR) / "KORVAN2021_DLL.so");
  return folder;
}

}  // namespace korvan::testing
