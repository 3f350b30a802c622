// Every sample project in examples/ runs through the engine library the way
// the desktop program runs it, on a copy in a temporary folder, and leaves a
// complete report and a plot data file that reads back block by block.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runner/engine_runner.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<fs::path> Examples() {
  std::vector<fs::path> paths;
  for (const auto& entry : fs::directory_iterator(KORVAN_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".kv4d") paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// Reads the plot file word by word in the order the front end reads it;
// fails when a word is not a number or the file ends early.
class PlotReader {
 public:
  explicit PlotReader(const std::string& text) {
    std::istringstream stream(text);
    for (std::string word; stream >> word;) words_.push_back(word);
  }
  double Next() {
    if (next_ >= words_.size()) throw std::runtime_error("the plot file ends early");
    const std::string& word = words_[next_++];
    std::size_t used = 0;
    const double value = std::stod(word, &used);
    if (used != word.size()) throw std::runtime_error("not a number: " + word);
    return value;
  }
  int NextCount() { return static_cast<int>(Next()); }
  void Skip(long count) {
    for (long i = 0; i < count; ++i) Next();
  }
  bool AtEnd() const { return next_ == words_.size(); }

 private:
  std::vector<std::string> words_;
  std::size_t next_ = 0;
};

struct PlotShape {
  int curves = 0, tipMovements = 0, increments = 0, loads = 0, converged = 0;
};

PlotShape ReadPlot(const std::string& text) {
  PlotReader plot(text);
  PlotShape shape;
  shape.curves = plot.NextCount();
  for (int k = 0; k < shape.curves; ++k) {
    plot.Next();
    const int points = plot.NextCount();
    plot.Next();
    plot.Skip(2L * points);
  }
  plot.Skip(2L * plot.NextCount());
  shape.tipMovements = plot.NextCount();
  shape.increments = plot.NextCount();
  plot.Next();
  plot.Skip(3L * shape.tipMovements * shape.increments);
  plot.Skip(4L * shape.tipMovements);
  if (plot.AtEnd()) return shape;
  shape.loads = plot.NextCount();
  const int increments = plot.NextCount();
  plot.Next();
  for (int i = 0; i < shape.loads; ++i) {
    const bool converged = plot.NextCount() == 1;
    plot.Skip(4);
    if (converged) {
      ++shape.converged;
      plot.Skip(3L * increments);
    }
  }
  if (!plot.AtEnd()) throw std::runtime_error("words left after the applied-load block");
  return shape;
}

TEST(Examples, EveryExampleRunsToCompleteResults) {
  const std::vector<fs::path> examples = Examples();
  ASSERT_GE(examples.size(), 5u);
  const fs::path folder =
      fs::temp_directory_path() / ("korvan_examples_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  for (const fs::path& example : examples) {
    SCOPED_TRACE(example.filename().string());
    const fs::path data = folder / example.filename();
    fs::copy_file(example, data, fs::copy_options::overwrite_existing);
    const EngineRun run = RunEngine(data, KORVAN_BIN_DIR, UserIdentification{});
    ASSERT_TRUE(run.called) << run.failure;
    EXPECT_EQ(run.result, 0);

    const std::string report = ReadText(fs::path(data).replace_extension(".kv4o"));
    const std::string plot = ReadText(fs::path(data).replace_extension(".kv4p"));
    EXPECT_TRUE(fs::exists(fs::path(data).replace_extension(".kv4r")));
    EXPECT_FALSE(fs::exists(folder / "names.dat"));
    EXPECT_EQ(Count(report, "RESULTS DUE TO TIP MOVEMENTS"), 2u);
    EXPECT_EQ(report.find("******"), std::string::npos) << "a value overflowed its field";
    EXPECT_EQ(plot.find('*'), std::string::npos);
    const bool hasLoads = report.find("RESULTS DUE TO APPLIED LOADS") != std::string::npos;
    try {
      const PlotShape shape = ReadPlot(plot);
      EXPECT_GT(shape.curves, 0);
      EXPECT_GT(shape.tipMovements, 0);
      EXPECT_GT(shape.increments, 0);
      EXPECT_EQ(shape.loads > 0, hasLoads);
      EXPECT_EQ(Count(report, "NOT ABLE TO GET CONVERGENCE"),
                static_cast<std::size_t>(shape.loads - shape.converged));
    } catch (const std::exception& error) {
      ADD_FAILURE() << error.what();
    }
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace korvan
