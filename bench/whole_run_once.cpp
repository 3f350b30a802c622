// One whole run of a benchmark project with the report and plot file going
// to /dev/null, for counting its instructions under callgrind (scripts/bench
// --callgrind), a figure that other work on the machine does not disturb.
#include <cstring>
#include <string>

#include "bench/benchmark_projects.h"
#include "engine/run.h"

int main(int argc, char** argv) {
  if (argc != 2 ||
      (std::strcmp(argv[1], "typical") != 0 && std::strcmp(argv[1], "capacity") != 0)) {
    return 2;
  }
  const std::string project = std::strcmp(argv[1], "typical") == 0
                                  ? korvan::benchmark_projects::TypicalProject()
                                  : korvan::benchmark_projects::CapacityProject();
  return korvan::RunProjectText(project, "/dev/null", "/dev/null");
}
