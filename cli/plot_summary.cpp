#include "plot_summary.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <sstream>

#include "input_file.h"

namespace korvan {

namespace {

// The largest plot data file: three times that of a run at every capacity
// of the engine.
constexpr std::size_t kMaxPlotBytes = 32 * 1024 * 1024;

// The whole file when it is a regular file of at most kMaxPlotBytes that
// ends in a line break: the engine ends every line with one, so a file
// without it was cut short (a killed run, a full disk), maybe inside its
// last number.
std::optional<std::string> WholeFile(const std::filesystem::path& path) {
  const platform::TInputFile file(path);
  if (!file.Opened()) return std::nullopt;
  std::string text;
  char buffer[65536];
  for (ssize_t n; (n = ::read(file.Descriptor(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || text.size() + static_cast<std::size_t>(n) > kMaxPlotBytes) return std::nullopt;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  if (!text.ends_with('\n')) return std::nullopt;
  return text;
}

class WordStream {
 public:
  explicit WordStream(std::istream& file) : file_(file) {}
  bool Real(double& value) {
    std::string word;
    if (!(file_ >> word)) return false;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
  }
  bool Integer(int& value) {
    double real = 0;
    if (!Real(real)) return false;
    value = static_cast<int>(real);
    return value == real;
  }
  bool Skip(long count) {
    double ignored = 0;
    for (long i = 0; i < count; ++i) {
      if (!Real(ignored)) return false;
    }
    return true;
  }
  bool AtEnd() {
    file_ >> std::ws;
    return file_.eof();
  }

 private:
  std::istream& file_;
};

bool ReadRow(WordStream& words, SummaryRow& row) {
  return words.Real(row.headLoad) && words.Real(row.headMovement) && words.Real(row.tipMovement) &&
         words.Real(row.tipLoad);
}

}  // namespace

std::optional<PlotSummary> ReadPlotSummary(const std::filesystem::path& plotFile) {
  const std::optional<std::string> text = WholeFile(plotFile);
  if (!text) return std::nullopt;
  std::istringstream file(*text);
  WordStream words(file);
  PlotSummary summary;
  int curves = 0;
  if (!words.Integer(curves) || curves < 0) return std::nullopt;
  for (int k = 0; k < curves; ++k) {
    int number = 0, points = 0;
    if (!words.Integer(number) || !words.Integer(points) || points < 0 || !words.Skip(1) ||
        !words.Skip(2L * points)) {
      return std::nullopt;
    }
  }
  int tipPoints = 0;
  if (!words.Integer(tipPoints) || tipPoints < 0 || !words.Skip(2L * tipPoints)) {
    return std::nullopt;
  }
  int movements = 0;
  if (!words.Integer(movements) || !words.Integer(summary.increments) ||
      !words.Integer(summary.unitSystem) || movements < 0 || summary.increments < 0 ||
      !words.Skip(3L * movements * summary.increments)) {
    return std::nullopt;
  }
  for (int n = 0; n < movements; ++n) {
    SummaryRow row;
    if (!ReadRow(words, row)) return std::nullopt;
    summary.tipMovementRows.push_back(row);
  }
  if (words.AtEnd()) return summary;
  int loads = 0, increments = 0, unitSystem = 0;
  if (!words.Integer(loads) || !words.Integer(increments) || !words.Integer(unitSystem) ||
      loads < 0 || increments < 0) {
    return std::nullopt;
  }
  for (int i = 0; i < loads; ++i) {
    int flag = 0;
    AppliedLoadRow row;
    if (!words.Integer(flag) || !ReadRow(words, row.values)) return std::nullopt;
    row.converged = flag == 1;
    if (row.converged && !words.Skip(3L * increments)) return std::nullopt;
    summary.appliedLoadRows.push_back(row);
  }
  return summary;
}

}  // namespace korvan
