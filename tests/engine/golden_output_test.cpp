// The engine's outputs kept under tests/golden and compared byte for byte:
// any change of a single output byte shows here.
//
// Each row of the table is one run. The sample projects, run the way a user
// runs them (names.dat, the entry point's whole run, the report's heading
// with its folder and its date and time masked), are kept whole as
// <project>.kv4o and <project>.kv4p. Every sample and benchmark project is
// also run alone in both unit systems and with and without the distribution
// lines; those outputs (the capacity project's are about 10 MB) are kept as
// hashes in hashes.txt.
//
// To regenerate after a layout is changed on purpose:
//   KORVAN_UPDATE_GOLDEN=1 build/bin/engine_tests --gtest_filter='GoldenOutput.*'
// rewrites every file of tests/golden; check the differences before
// committing them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench/benchmark_projects.h"
#include "engine/run.h"
#include "test_support.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

// How a row's outputs are kept.
enum class Kept {
  kWhole,  // the user's run, in <project>.kv4o and <project>.kv4p
  kHash,   // the project alone with NUNIT and LSO replaced, in hashes.txt
};

struct GoldenRow {
  std::string project;
  Kept kept;
  int units = 0, lso = 0;  // for kHash

  std::string HashKey() const {
    return project + " " + std::to_string(units) + " " + std::to_string(lso);
  }
};

std::vector<std::string> SampleProjects() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(KORVAN_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".kv4d") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<GoldenRow> GoldenRows() {
  std::vector<GoldenRow> rows;
  std::vector<std::string> projects = SampleProjects();
  for (const std::string& sample : projects) rows.push_back({sample, Kept::kWhole});
  projects.insert(projects.end(), {"benchmark-typical", "benchmark-capacity"});
  for (const std::string& project : projects) {
    for (int units : {1, 2}) {
      for (int lso : {0, 1}) rows.push_back({project, Kept::kHash, units, lso});
    }
  }
  return rows;
}

std::string ProjectText(const std::string& name) {
  if (name == "benchmark-typical") return benchmark_projects::TypicalProject();
  if (name == "benchmark-capacity") return benchmark_projects::CapacityProject();
  return testing::ReadFile((fs::path(KORVAN_EXAMPLES_DIR) / (name + ".kv4d")).string());
}

// The project with `LSO` and `NUNIT` of its control record (line 2) replaced.
std::string WithPrintOptionAndUnits(const std::string& text, int lso, int units) {
  const std::size_t start = text.find('\n') + 1;
  const std::size_t end = text.find('\n', start);
  const std::vector<std::string> words = testing::Words(text.substr(start, end - start));
  return text.substr(0, start) + words.at(0) + " " + std::to_string(lso) + " " +
         std::to_string(units) + text.substr(end);
}

// The heading's lines that differ from run to run: the run's folder and the
// date and time of the analysis.
std::string Masked(std::string report, const std::string& folder) {
  for (auto at = report.find(folder); at != std::string::npos; at = report.find(folder, at)) {
    report.replace(at, folder.size(), "<run folder>");
  }
  const std::string date = "\n               Date:  ";
  if (const auto at = report.find(date); at != std::string::npos) {
    const auto start = at + date.size();
    report.replace(start, report.find('\n', start) - start, "<date and time>");
  }
  return report;
}

// The sample project run as the desktop program runs it: copied into a
// fresh folder with names.dat beside it, and the entry point's whole run
// made from that folder.
testing::ProjectRun UsersRun(const std::string& project) {
  const fs::path folder = fs::path(::testing::TempDir()) /
                          ("korvan_golden_" + std::to_string(::getpid()) + "_" + project);
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path data = folder / (project + ".kv4d");
  fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / data.filename(), data);
  auto beside = [&](const char* extension) { return fs::path(data).replace_extension(extension); };
  std::ofstream(folder / "names.dat") << "2021.4.3\nGolden Outputs Ltd\nTestville, TX\n42\n"
                                      << data.string() << "\n"
                                      << beside(".kv4o").string() << "\n"
                                      << beside(".kv4p").string() << "\n"
                                      << beside(".kv4r").string() << "\n";
  const fs::path saved = fs::current_path();
  fs::current_path(folder);
  testing::ProjectRun run;
  run.result = RunAnalysis();
  fs::current_path(saved);
  run.report = Masked(testing::ReadFile(beside(".kv4o").string()), folder.string());
  run.plot = testing::ReadFile(beside(".kv4p").string());
  fs::remove_all(folder);
  return run;
}

// 64-bit FNV-1a of the report, a NUL (which neither file holds) and the plot
// file: enough to tell any changed byte, no library needed.
std::string Hash(const testing::ProjectRun& run) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const std::string* text : {&run.report, &run.plot}) {
    for (const unsigned char c : *text + '\0') {
      hash ^= c;
      hash *= 0x100000001b3ULL;
    }
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

fs::path GoldenFile(const std::string& name) {
  return fs::path(KORVAN_GOLDEN_DIR) / name;
}

// "project NUNIT LSO" to hash, from hashes.txt (# starts a comment line).
std::map<std::string, std::string> KeptHashes() {
  std::map<std::string, std::string> hashes;
  std::istringstream lines(testing::ReadFile(GoldenFile("hashes.txt").string()));
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> words = testing::Words(line);
    if (words.size() == 4 && words[0][0] != '#') {
      hashes[words[0] + " " + words[1] + " " + words[2]] = words[3];
    }
  }
  return hashes;
}

// Where two texts first differ, for a failure message that fits a screen.
std::string FirstDifference(const std::string& kept, const std::string& made) {
  const std::vector<std::string> a = testing::SplitLines(kept), b = testing::SplitLines(made);
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::string was = i < a.size() ? a[i] : "(no line)";
    const std::string is = i < b.size() ? b[i] : "(no line)";
    if (was != is) {
      return "line " + std::to_string(i + 1) + "\n  kept: [" + was + "]\n  made: [" + is + "]";
    }
  }
  return "line ends differ";
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(GoldenOutput, EveryRunGivesItsKeptOutputs) {
  const bool update = std::getenv("KORVAN_UPDATE_GOLDEN") != nullptr;
  const std::map<std::string, std::string> hashes = KeptHashes();
  std::string hashFile =
      "# The hashes of report and plot file (FNV-1a, golden_output_test.cpp) of each\n"
      "# project run alone, NUNIT and LSO replaced: project NUNIT LSO hash.\n";
  for (const GoldenRow& row : GoldenRows()) {
    if (row.kept == Kept::kWhole) {
      const testing::ProjectRun run = UsersRun(row.project);
      EXPECT_EQ(run.result, 0) << row.project;
      const std::pair<const char*, const std::string*> outputs[] = {{".kv4o", &run.report},
                                                                    {".kv4p", &run.plot}};
      for (const auto& [extension, made] : outputs) {
        const fs::path file = GoldenFile(row.project + extension);
        if (update) Write(file, *made);
        const std::string kept = testing::ReadFile(file.string());
        EXPECT_TRUE(kept == *made)
            << file.filename() << " differs at " << FirstDifference(kept, *made);
      }
      continue;
    }
    const std::string text = ProjectText(row.project);
    ASSERT_FALSE(text.empty()) << row.project;
    const testing::ProjectRun run =
        testing::RunProject(WithPrintOptionAndUnits(text, row.lso, row.units));
    EXPECT_EQ(run.result, 0) << row.HashKey();
    const std::string hash = Hash(run);
    const auto kept = hashes.find(row.HashKey());
    EXPECT_TRUE(update || (kept != hashes.end() && kept->second == hash))
        << row.HashKey() << ": kept " << (kept != hashes.end() ? kept->second : "nothing")
        << ", made " << hash;
    hashFile += row.HashKey() + " " + hash + "\n";
  }
  if (update) Write(GoldenFile("hashes.txt"), hashFile);
}

// The kept outputs are those of the table's runs: every sample project is
// covered, and nothing is kept for a project that is gone.
TEST(GoldenOutput, CoversEverySampleProject) {
  std::set<std::string> expected, kept;
  for (const GoldenRow& row : GoldenRows()) {
    if (row.kept == Kept::kWhole) {
      expected.insert({row.project + ".kv4o", row.project + ".kv4p"});
    } else {
      expected.insert(row.HashKey());
    }
  }
  for (const auto& entry : fs::directory_iterator(KORVAN_GOLDEN_DIR)) {
    const fs::path& file = entry.path();
    if (file.extension() == ".kv4o" || file.extension() == ".kv4p") {
      kept.insert(file.filename().string());
    }
  }
  for (const auto& [key, hash] : KeptHashes()) kept.insert(key);
  for (const std::string& name : expected) EXPECT_TRUE(kept.count(name)) << "not kept: " << name;
  for (const std::string& name : kept) EXPECT_TRUE(expected.count(name)) << "no run: " << name;
}

}  // namespace
}  // namespace korvan
