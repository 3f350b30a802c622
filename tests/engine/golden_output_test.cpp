// The report and plot file of every sample project and of the benchmark's
// projects, in both unit systems and with and without the distribution
// lines, hashed: any change of a single output byte shows here.
//
// To regenerate after a layout is changed on purpose: run
// KORVAN_PRINT_GOLDEN=1 build/bin/engine_tests --gtest_filter='GoldenOutput.*' and paste its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

// Per project the hashes of NUNIT 1 with LSO 0 and 1, then NUNIT 2 with LSO 0
// and 1, made by the writers as they were before their fast path.
struct Golden {
  const char* project;
  std::array<std::uint64_t, 4> hashes;
};

constexpr Golden kGolden[] = {
    {"api-clay-sand",
     {0x4e9297624dd1c3ccULL, 0xbbc6db99361223c6ULL, 0x31d035a9453ce993ULL, 0x86b5a3629033ac91ULL}},
    {"downdrag-modified-si",
     {0x842e8d21b84d0fa1ULL, 0x47c4885e08356d8aULL, 0xe54d50fe29d2a87aULL, 0x45880974dfc8b9a9ULL}},
    {"drilled-shaft-si",
     {0xa67a8e0b1530a4b7ULL, 0x08bb6c01bb3c6e5fULL, 0x0e4b3531cf828d01ULL, 0x9d79044aab8d9777ULL}},
    {"driven-pile-clay-sand",
     {0x21ad5c7138ce03a0ULL, 0xa1e1a1ad04bc5c80ULL, 0xbc26b45fcd1f9db2ULL, 0x11823baec451d2cdULL}},
    {"user-curves",
     {0xf41866b94e445d67ULL, 0x576c4202dbad219dULL, 0xe75f865af1b705e8ULL, 0x61ef2d5026c76db3ULL}},
    {"benchmark-typical",
     {0x5e21fa33f9eaf85cULL, 0x81b20a34624292efULL, 0x759232c17f5d2b7aULL, 0x9adb5835759fd913ULL}},
    {"benchmark-capacity",
     {0x2d4788c9e2af6eb1ULL, 0xb3244e8c76b439e3ULL, 0x0ce2bd452f9bf216ULL, 0xaf5f97b43cb0379bULL}},
};

// 64-bit FNV-1a of the report, a NUL (which neither file holds) and the plot
// file: enough to tell any changed byte, no library needed.
std::uint64_t Hash(const testing::ProjectRun& run) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const std::string* text : {&run.report, &run.plot}) {
    for (const unsigned char c : *text + '\0') {
      hash ^= c;
      hash *= 0x100000001b3ULL;
    }
  }
  return hash;
}

std::string ProjectText(const std::string& name) {
  if (name == "benchmark-typical") return benchmark_projects::TypicalProject();
  if (name == "benchmark-capacity") return benchmark_projects::CapacityProject();
  return testing::ReadFile(
      (std::filesystem::path(KORVAN_EXAMPLES_DIR) / (name + ".kv4d")).string());
}

// The project with `LSO` and `NUNIT` of its control record (line 2) replaced.
std::string WithPrintOptionAndUnits(const std::string& text, int lso, int units) {
  const std::size_t start = text.find('\n') + 1;
  const std::size_t end = text.find('\n', start);
  const std::vector<std::string> words = testing::Words(text.substr(start, end - start));
  return text.substr(0, start) + words.at(0) + " " + std::to_string(lso) + " " +
         std::to_string(units) + text.substr(end);
}

TEST(GoldenOutput, EveryProjectInBothUnitSystemsAndPrintOptions) {
  const bool print = std::getenv("KORVAN_PRINT_GOLDEN") != nullptr;
  for (const Golden& golden : kGolden) {
    const std::string text = ProjectText(golden.project);
    ASSERT_FALSE(text.empty()) << golden.project;
    std::array<std::uint64_t, 4> hashes{};
    for (int variant = 0; variant < 4; ++variant) {
      const int units = 1 + variant / 2, lso = variant % 2;
      const testing::ProjectRun run =
          testing::RunProject(WithPrintOptionAndUnits(text, lso, units));
      EXPECT_EQ(run.result, 0) << golden.project;
      hashes[variant] = Hash(run);
      EXPECT_TRUE(print || hashes[variant] == golden.hashes[variant])
          << golden.project << ", NUNIT " << units << ", LSO " << lso;
    }
    if (print) {
      std::printf(
          "{\"%s\", {0x%016llxULL, 0x%016llxULL, 0x%016llxULL, 0x%016llxULL}},\n", golden.project,
          static_cast<unsigned long long>(hashes[0]), static_cast<unsigned long long>(hashes[1]),
          static_cast<unsigned long long>(hashes[2]), static_cast<unsigned long long>(hashes[3]));
    }
  }
}

// Every sample project is covered, so a new one cannot be forgotten.
TEST(GoldenOutput, CoversEverySampleProject) {
  for (const auto& entry : std::filesystem::directory_iterator(KORVAN_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".kv4d") continue;
    const std::string name = entry.path().stem().string();
    EXPECT_TRUE(std::any_of(std::begin(kGolden), std::end(kGolden), [&](const Golden& g) {
      return g.project == name;
    })) << name;
  }
}

}  // namespace
}  // namespace korvan
