#include "runner/variant_runs.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

extern char** environ;

namespace korvan {

namespace {

// A descriptor that becomes readable when `pid` ends, or -1 where the
// system has none (the loop then looks every few milliseconds).
int ExitWatch(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

constexpr int kPollWithoutWatchMs = 5;

// The exit status of a forked run that could not set itself up: a system
// error, as `korvan run` reports it.
constexpr int kVariantNotStarted = 71;

bool Readable(int descriptor) {
  if (descriptor < 0) return false;
  pollfd event{descriptor, POLLIN, 0};
  return ::poll(&event, 1, 0) > 0;
}

TVariantRunResult Outcome(int wait) {
  TVariantRunResult result;
  result.ran = true;
  result.exited = WIFEXITED(wait);
  result.status = result.exited ? WEXITSTATUS(wait) : WTERMSIG(wait);
  return result;
}

// posix_spawn's settings, released however the start ends.
class TSpawnSettings {
 public:
  TSpawnSettings() {
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);
  }
  ~TSpawnSettings() {
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
  }
  TSpawnSettings(const TSpawnSettings&) = delete;
  TSpawnSettings& operator=(const TSpawnSettings&) = delete;

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
};

}  // namespace

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides) {
  std::vector<std::string> environment;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    const std::string_view name = text.substr(0, text.find('='));
    bool replaced = false;
    for (const std::string& override : overrides) {
      replaced = replaced || std::string_view(override).substr(0, override.find('=')) == name;
    }
    if (!replaced) environment.emplace_back(text);
  }
  environment.insert(environment.end(), overrides.begin(), overrides.end());
  return environment;
}

TVariantLauncher SpawnedRunner(std::filesystem::path runner,
                               const std::vector<std::string>& environment) {
  return [runner = std::move(runner), environment = EnvironmentWith(environment)](
             const TVariantJob& job, std::string& failure) -> pid_t {
    TSpawnSettings settings;
    ::posix_spawn_file_actions_addchdir_np(&settings.actions, job.folder.c_str());
    ::posix_spawn_file_actions_addopen(&settings.actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&settings.actions, 1, job.log.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600);
    ::posix_spawn_file_actions_adddup2(&settings.actions, 1, 2);
    // A run takes SIGINT and SIGTERM as `korvan run` always does, also when
    // the caller holds them back.
    sigset_t none;
    sigemptyset(&none);
    ::posix_spawnattr_setsigmask(&settings.attributes, &none);
    ::posix_spawnattr_setflags(&settings.attributes, POSIX_SPAWN_SETSIGMASK);

    std::string program = runner.string(), command = "run", name = job.name;
    char* arguments[] = {program.data(), command.data(), name.data(), nullptr};
    std::vector<std::string> entries = environment;
    std::vector<char*> pointers;
    for (std::string& entry : entries) pointers.push_back(entry.data());
    pointers.push_back(nullptr);
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, program.c_str(), &settings.actions, &settings.attributes,
                                    arguments, pointers.data());
    if (error == 0) return pid;
    failure =
        "cannot start " + program + " in " + job.folder.string() + ": " + std::strerror(error);
    return -1;
  };
}

TVariantLauncher ForkedRunner(std::function<int(const std::string& name)> run) {
  return [run = std::move(run)](const TVariantJob& job, std::string& failure) -> pid_t {
    // Nothing buffered before the fork may come out twice.
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
      failure = std::string("cannot start a run: ") + std::strerror(errno);
      return -1;
    }
    if (pid > 0) return pid;
    // The child: only descriptors, then the run, then _exit, so that
    // nothing of the parent's (its files under way, its libraries) is
    // finished twice.
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int log =
        ::open(job.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (input < 0 || log < 0 || ::dup2(input, 0) < 0 || ::dup2(log, 1) < 0 || ::dup2(log, 2) < 0 ||
        ::chdir(job.folder.c_str()) != 0) {
      ::_exit(kVariantNotStarted);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    int status = kVariantNotStarted;
    try {
      status = run(job.name);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "korvan: %s\n", error.what());
    }
    std::fflush(nullptr);
    ::_exit(status);
  };
}

TVariantRuns::TVariantRuns(TVariantLauncher launcher) : fLauncher(std::move(launcher)) {}

TVariantRuns::~TVariantRuns() {
  EndAll();
}

bool TVariantRuns::Run(const std::vector<TVariantJob>& jobs, int parallel, int stop,
                       const std::function<void(std::size_t)>& finished) {
  fResults.assign(jobs.size(), TVariantRunResult{});
  fFailure.clear();
  const std::size_t slots = static_cast<std::size_t>(parallel < 1 ? 1 : parallel);
  std::size_t next = 0;
  while (next < jobs.size() || !fRunning.empty()) {
    if (Readable(stop)) {
      EndAll();
      return false;
    }
    for (; next < jobs.size() && fRunning.size() < slots; ++next) {
      if (!Start(jobs[next], next)) {
        EndAll();
        return false;
      }
    }
    std::vector<pollfd> events;
    bool everyEndWatched = true;
    for (const TRunning& running : fRunning) {
      if (running.exitWatch >= 0)
        events.push_back({running.exitWatch, POLLIN, 0});
      else
        everyEndWatched = false;
    }
    if (stop >= 0) events.push_back({stop, POLLIN, 0});
    const int timeout = everyEndWatched ? -1 : kPollWithoutWatchMs;
    if (::poll(events.data(), events.size(), timeout) < 0 && errno != EINTR) {
      fFailure = std::string("cannot wait for the runs: ") + std::strerror(errno);
      EndAll();
      return false;
    }
    ReapEnded(finished, false);
  }
  return true;
}

bool TVariantRuns::Start(const TVariantJob& job, std::size_t index) {
  const pid_t pid = fLauncher(job, fFailure);
  if (pid < 0) return false;
  fRunning.push_back({pid, ExitWatch(pid), index});
  return true;
}

bool TVariantRuns::ReapEnded(const std::function<void(std::size_t)>& finished, bool wait) {
  bool any = false;
  for (auto running = fRunning.begin(); running != fRunning.end();) {
    int status = 0;
    pid_t ended = -1;
    do {
      ended = ::waitpid(running->pid, &status, wait ? 0 : WNOHANG);
    } while (ended < 0 && errno == EINTR);
    if (ended == 0) {
      ++running;
      continue;
    }
    // A child reaped elsewhere (-1) has ended too, its status unknown.
    TVariantRunResult& result = fResults[running->job];
    result = ended == running->pid ? Outcome(status) : TVariantRunResult{true, false, 0};
    if (running->exitWatch >= 0) ::close(running->exitWatch);
    const std::size_t job = running->job;
    running = fRunning.erase(running);
    any = true;
    if (finished) finished(job);
  }
  return any;
}

void TVariantRuns::EndAll() {
  std::vector<std::size_t> ended;
  for (const TRunning& running : fRunning) {
    ::kill(running.pid, SIGTERM);
    ended.push_back(running.job);
  }
  ReapEnded({}, true);
  // A run ended before its time gave nothing.
  for (const std::size_t job : ended) fResults[job] = TVariantRunResult{};
}

}  // namespace korvan
