// Runs a piece of a test in a child process: the engine or the runner may
// then fail, hang (an alarm ends the child after a minute) or meet a small
// file-size limit without taking the test program with it.
#pragma once

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace korvan::testing {

struct ChildOptions {
  std::filesystem::path folder;  // the child's current directory when given
  std::vector<std::pair<std::string, std::string>> environment;
  rlim_t fileSizeLimit = RLIM_INFINITY;  // bytes any one file may reach
  bool unprivileged = false;             // a root child becomes nobody
};

// Options that differ from the default in one respect.
inline ChildOptions InFolder(std::filesystem::path folder) {
  ChildOptions options;
  options.folder = std::move(folder);
  return options;
}
inline ChildOptions WithEnvironment(std::string name, std::string value) {
  ChildOptions options;
  options.environment.emplace_back(std::move(name), std::move(value));
  return options;
}
inline ChildOptions WithFileSizeLimit(rlim_t bytes) {
  ChildOptions options;
  options.fileSizeLimit = bytes;
  return options;
}
inline ChildOptions Unprivileged() {
  ChildOptions options;
  options.unprivileged = true;
  return options;
}

struct ChildOutcome {
  bool exited = false;  // false when a signal (a hang's alarm) ended it
  int status = -1;      // the exit status
  std::string output;   // standard output and error together
};

inline ChildOutcome RunInChild(const std::function<int()>& body, const ChildOptions& options = {}) {
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

// Replaces the child with `korvan` and the given arguments.
inline int ExecKorvan(std::vector<std::string> arguments) {
  const std::string program = std::string(KORVAN_BIN_DIR) + "/korvan";
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  return 127;
}

}  // namespace korvan::testing
