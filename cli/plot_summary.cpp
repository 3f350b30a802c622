#include "plot_summary.h"

#include <charconv>
#include <fstream>
#include <iterator>

namespace korvan {

namespace {

class WordStream {
 public:
  explicit WordStream(std::ifstream& file) : file_(file) {}
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
  std::ifstream& file_;
};

bool ReadRow(WordStream& words, SummaryRow& row) {
  return words.Real(row.headLoad) && words.Real(row.headMovement) && words.Real(row.tipMovement) &&
         words.Real(row.tipLoad);
}

}  // namespace

std::optional<PlotSummary> ReadPlotSummary(const std::filesystem::path& plotFile) {
  std::ifstream file(plotFile);
  if (!file) return std::nullopt;
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
