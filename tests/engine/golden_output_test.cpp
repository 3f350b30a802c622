// The report and plot file of every sample project and of the benchmark's
// projects, in both unit systems and with and without the distribution
// lines, hashed: any change of a single output byte shows here.
//
// To regenerate after a layout is changed on purpose: run
// KORVAN_PRINT_GOLDEN=1 build/bin/engine_tests --gtest_filter='GoldenOutput.*' and paste its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmark_projects.h"
#include "test_support.h"

namespace korvan {
namespace {

using testing::ReadFile;
using testing::RunProject;

struct Golden {
  const char* project;
  int units;
  int lso;
  std::uint64_t reportHash;
  std::size_t reportBytes;
  std::uint64_t plotHash;
  std::size_t plotBytes;
};

// 64-bit FNV-1a: enough to tell any changed byte, no library needed.
std::uint64_t Hash(const std::string& text) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

// The project with `LSO` and `NUNIT` of its control record (line 2) replaced;
// the increment count stays.
std::string WithPrintOptionAndUnits(const std::string& text, int lso, int units) {
  const std::size_t start = text.find('\n') + 1;
  const std::size_t end = text.find('\n', start);
  const std::vector<std::string> words = testing::Words(text.substr(start, end - start));
  return text.substr(0, start) + words.at(0) + " " + std::to_string(lso) + " " +
         std::to_string(units) + text.substr(end);
}

std::string ProjectText(const std::string& name) {
  if (name == "benchmark-typical") return benchmark_projects::TypicalProject();
  if (name == "benchmark-capacity") return benchmark_projects::CapacityProject();
  return ReadFile((std::filesystem::path(KORVAN_EXAMPLES_DIR) / (name + ".kv4d")).string());
}

constexpr Golden kGolden[] = {
    {"api-clay-sand", 1, 0, 0x9f30e5b75305a901ULL, 111482, 0x5dbdf6624de3a1d2ULL, 38346},
    {"api-clay-sand", 1, 1, 0xf1bc58047ed437d7ULL, 10602, 0x5dbdf6624de3a1d2ULL, 38346},
    {"api-clay-sand", 2, 0, 0x7251d012562ec166ULL, 111481, 0xac8db7d6e9fe3456ULL, 38346},
    {"api-clay-sand", 2, 1, 0x35b27f1bd6dfb150ULL, 10601, 0xac8db7d6e9fe3456ULL, 38346},
    {"downdrag-modified-si", 1, 0, 0x9cbee8533e4cf9dcULL, 100712, 0x1b170c2d6f5da2e0ULL, 36287},
    {"downdrag-modified-si", 1, 1, 0x13d4897373dbb345ULL, 14582, 0x1b170c2d6f5da2e0ULL, 36287},
    {"downdrag-modified-si", 2, 0, 0x84922f8b4775fbb8ULL, 100711, 0x8aa30fdef848d0d5ULL, 36287},
    {"downdrag-modified-si", 2, 1, 0x06b6a27955f92785ULL, 14581, 0x8aa30fdef848d0d5ULL, 36287},
    {"drilled-shaft-si", 1, 0, 0x88987e4c7617b53fULL, 155808, 0xec6412f8ab55be95ULL, 48559},
    {"drilled-shaft-si", 1, 1, 0xbe34c48277038bb7ULL, 10908, 0xec6412f8ab55be95ULL, 48559},
    {"drilled-shaft-si", 2, 0, 0xc3c500e1a7a150edULL, 155807, 0x08ec99da61ee4865ULL, 48559},
    {"drilled-shaft-si", 2, 1, 0x1671e9377a700dcfULL, 10907, 0x08ec99da61ee4865ULL, 48559},
    {"driven-pile-clay-sand", 1, 0, 0xe392c616369f05adULL, 96444, 0x7c6d6a5f04e10bd2ULL, 35484},
    {"driven-pile-clay-sand", 1, 1, 0xdd6e1b6b0f1928cdULL, 10314, 0x7c6d6a5f04e10bd2ULL, 35484},
    {"driven-pile-clay-sand", 2, 0, 0xde1d4a3341df7054ULL, 96411, 0x0a75ddf85ed89e23ULL, 30684},
    {"driven-pile-clay-sand", 2, 1, 0x59574ed1b720b8dbULL, 10281, 0x0a75ddf85ed89e23ULL, 30684},
    {"user-curves", 1, 0, 0x4602ddd10a7bb0f3ULL, 121612, 0x74822cb82698d479ULL, 33113},
    {"user-curves", 1, 1, 0x4bedea8432e85e2dULL, 4072, 0x74822cb82698d479ULL, 33113},
    {"user-curves", 2, 0, 0x310c2b94c6e6ea9fULL, 121612, 0x681bf3a9fe917b60ULL, 33113},
    {"user-curves", 2, 1, 0xcfabded80f70ec86ULL, 4072, 0x681bf3a9fe917b60ULL, 33113},
    {"benchmark-typical", 1, 0, 0xe66dc5e8000eee2cULL, 154917, 0xd752b57d71f0cd27ULL, 65385},
    {"benchmark-typical", 1, 1, 0x4447ad7646975c41ULL, 14067, 0xd752b57d71f0cd27ULL, 65385},
    {"benchmark-typical", 2, 0, 0xcb05bfe9bea2fd36ULL, 154884, 0x56e7be20d9836f23ULL, 57385},
    {"benchmark-typical", 2, 1, 0xfd4461ad026f2e41ULL, 14034, 0x56e7be20d9836f23ULL, 57385},
    {"benchmark-capacity", 1, 0, 0xce6a60b5667576b6ULL, 7770098, 0xfaa5d61d7491d17eULL, 2930259},
    {"benchmark-capacity", 1, 1, 0x909da70cf7dd5878ULL, 125098, 0xfaa5d61d7491d17eULL, 2930259},
    {"benchmark-capacity", 2, 0, 0x7407db732c38d61aULL, 7769697, 0x19ca2fba13dbe44fULL, 2430259},
    {"benchmark-capacity", 2, 1, 0x58b93cf5d9845d01ULL, 124697, 0x19ca2fba13dbe44fULL, 2430259},
};

TEST(GoldenOutput, EveryProjectInBothUnitSystemsAndPrintOptions) {
  const bool print = std::getenv("KORVAN_PRINT_GOLDEN") != nullptr;
  for (const Golden& g : kGolden) {
    const std::string text = ProjectText(g.project);
    ASSERT_FALSE(text.empty()) << g.project;
    const testing::ProjectRun run = RunProject(WithPrintOptionAndUnits(text, g.lso, g.units));
    const std::uint64_t reportHash = Hash(run.report), plotHash = Hash(run.plot);
    if (print) {
      std::printf("{\"%s\", %d, %d, 0x%016llxULL, %zu, 0x%016llxULL, %zu},\n", g.project, g.units,
                  g.lso, static_cast<unsigned long long>(reportHash), run.report.size(),
                  static_cast<unsigned long long>(plotHash), run.plot.size());
      continue;
    }
    SCOPED_TRACE(std::string(g.project) + ", NUNIT " + std::to_string(g.units) + ", LSO " +
                 std::to_string(g.lso));
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.report.size(), g.reportBytes);
    EXPECT_EQ(reportHash, g.reportHash);
    EXPECT_EQ(run.plot.size(), g.plotBytes);
    EXPECT_EQ(plotHash, g.plotHash);
  }
}

// Every sample project is covered, so a new one cannot be forgotten.
TEST(GoldenOutput, CoversEverySampleProject) {
  for (const auto& entry : std::filesystem::directory_iterator(KORVAN_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".kv4d") continue;
    const std::string name = entry.path().stem().string();
    const auto rows = std::count_if(std::begin(kGolden), std::end(kGolden),
                                    [&](const Golden& g) { return g.project == name; });
    EXPECT_EQ(rows, 4) << name;
  }
}

}  // namespace
}  // namespace korvan
