// A design study as the user runs it: korvan study of 20 lengths of a
// sample project, two runs at a time, with the design load, the settlement
// limit, study.csv and the three pictures. Target: 20 variants in under 1 s
// on two cores, that is at least 20 variants per second. Real time is the
// figure (the runs go on in child processes); the processor time of the
// study and its runs is given beside it, which other work on the machine
// does not stretch.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kVariants = 20;

void BM_Study(benchmark::State& state, int jobs) {
  const fs::path folder =
      fs::temp_directory_path() / ("korvan_study_bench_" + std::to_string(::getpid()));
  std::vector<std::string> arguments = {KORVAN_BIN_DIR "/korvan",
                                        "study",
                                        KORVAN_EXAMPLES_DIR "/driven-pile-clay-sand.kv4d",
                                        "--vary",
                                        "length=600:790:10",
                                        "--design-load",
                                        "300000",
                                        "--settlement-limit",
                                        "0.5",
                                        "-j",
                                        std::to_string(jobs),
                                        "--out",
                                        folder.string()};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  auto childSeconds = [] {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  const double before = childSeconds();
  for (auto _ : state) {
    pid_t study = -1;
    int status = -1;
    if (::posix_spawn(&study, argv[0], &quiet, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(study, &status, 0) != study || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("korvan study did not complete");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&quiet);
  fs::remove_all(folder);
  state.counters["processor ms"] = 1000 * (childSeconds() - before) /
                                   static_cast<double>(std::max<int64_t>(state.iterations(), 1));
  state.counters["variants/s"] =
      benchmark::Counter(kVariants, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Study, TwoRunsAtATime, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Study, OneRunAtATime, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
