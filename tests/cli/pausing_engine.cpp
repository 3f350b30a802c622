// An engine for the runner's signal tests: it does what the real engine does
// at the start of a run that takes long (its temporary outputs exist beside
// the report and the plot file), says so with a file "engine-started" in the
// current folder, and then waits for a signal to end the run.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" __attribute__((visibility("default"))) std::int32_t IKORVAN(std::int32_t, std::int32_t) {
  std::ifstream names("names.dat");
  std::string line;
  for (int number = 1; std::getline(names, line); ++number) {
    if (number != 6 && number != 7) continue;
    const std::filesystem::path output(line);
    const std::string part =
        ".korvan." + std::to_string(::getpid()) + (number == 6 ? ".report.part" : ".plot.part");
    std::ofstream(output.parent_path() / part) << "a part of an output\n";
  }
  std::ofstream("engine-started") << "waiting\n";
  for (;;) ::pause();
}
