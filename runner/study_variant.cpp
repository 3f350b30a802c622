#include "runner/study_variant.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace korvan {

namespace {

// The engine's capacities of the blocks before the head loads.
constexpr std::size_t kMaxTzCurves = 200;
constexpr std::size_t kMaxTzPoints = 200;
constexpr std::size_t kMaxTipPoints = 50;
constexpr std::size_t kMaxLayers = 30;
constexpr std::size_t kMaxTipMovements = 100;
constexpr std::size_t kMaxSettlementPoints = 100;
constexpr int kUserCurves = 2;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// Values are separated by blanks, tabs or a comma.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : line + " ") {
    if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return words;
}

std::optional<double> Real(const std::string& word) {
  double value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::optional<long> Integer(const std::string& word) {
  long value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// The AE the engine takes at distance `s` below the pile head: linear
// between rows, the upper row's at a depth two rows share, the last row's
// below the table.
double StiffnessAt(const std::vector<std::pair<double, double>>& rows, double s) {
  if (rows.empty()) return 0;
  if (rows.size() == 1) return rows.front().second;
  std::size_t k = 1;
  while (k < rows.size() && rows[k].first < s) ++k;
  if (k == rows.size()) return rows.back().second;
  const auto [upperDepth, upper] = rows[k - 1];
  const auto [lowerDepth, lower] = rows[k];
  if (lowerDepth == upperDepth) return upper;
  return upper + (lower - upper) * (s - upperDepth) / (lowerDepth - upperDepth);
}

std::string Joined(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) line += (line.empty() ? "" : " ") + word;
  return line;
}

}  // namespace

std::string DataFileNumber(double value) {
  if (value == 0) return "0";
  char buffer[64];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 8);
  const std::string text(buffer, written.ptr);
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text;
  return text.substr(0, e) + "E" + std::to_string(std::stoi(text.substr(e + 1)));
}

TVariantMaker::TVariantMaker(std::string projectText, const TVariantRules& rules)
    : fRules(rules), fLines(SplitLines(projectText)) {
  if (!Parse()) {
    fProblem = "The project's data file does not hold the records a project holds.";
  } else if (rules.parameter == TStudyParameter::kDiameter && !(fDiameter > 0)) {
    fProblem =
        "The project's outer diameter is 0: the tip area cannot be scaled with the diameter.";
  } else if (rules.designLoad && fHeadLoads.size() >= kMaxHeadLoads) {
    fProblem = "The project has " + std::to_string(fHeadLoads.size()) +
               " head loads, the most a project holds: the design load cannot be added.";
  }
}

// A record starts on the next unread line and takes as many lines as its
// values need; one of no values still takes its line.
bool TVariantMaker::Read(std::size_t& line, std::size_t count, TRecord& record) const {
  record = TRecord{};
  record.firstLine = line;
  do {
    if (line >= fLines.size()) return false;
    for (const std::string& word : Words(fLines[line])) {
      if (record.words.size() < count) record.words.push_back(word);
    }
    ++line;
  } while (record.words.size() < count);
  record.endLine = line;
  return true;
}

bool TVariantMaker::Count(std::size_t& line, std::size_t most, std::size_t& count) const {
  TRecord record;
  if (!Read(line, 1, record)) return false;
  const auto value = Integer(record.words.front());
  if (!value || *value < 0 || static_cast<std::size_t>(*value) > most) return false;
  count = static_cast<std::size_t>(*value);
  return true;
}

bool TVariantMaker::Parse() {
  std::size_t line = 1;  // after the title
  TRecord record;
  if (!Read(line, 3, record)) return false;
  const auto units = Integer(record.words[2]);
  if (!units) return false;
  fUnits = *units >= 2 ? 2 : 1;
  if (!Read(line, 2, record)) return false;
  const auto tz = Integer(record.words[0]);
  const auto qw = Integer(record.words[1]);
  if (!tz || !qw) return false;
  std::size_t count = 0;
  if (*tz == kUserCurves) {
    std::size_t curves = 0;
    if (!Count(line, kMaxTzCurves, curves)) return false;
    for (std::size_t curve = 0; curve < curves; ++curve) {
      if (!Read(line, 3, record)) return false;
      const auto points = Integer(record.words[2]);
      if (!points || *points < 0 || static_cast<std::size_t>(*points) > kMaxTzPoints) return false;
      for (long point = 0; point < *points; ++point) {
        if (!Read(line, 2, record)) return false;
      }
    }
  }
  if (*qw == kUserCurves && (!Count(line, kMaxTipPoints, count) || !Read(line, 2 * count, record)))
    return false;
  if (*tz != kUserCurves || *qw != kUserCurves) {
    std::size_t layers = 0;
    if (!Count(line, kMaxLayers, layers)) return false;
    for (std::size_t row = 0; row < layers; ++row) {
      if (!Read(line, 4, record)) return false;
    }
    for (std::size_t row = 0; row < 2 * layers; ++row) {
      if (!Read(line, 9, record)) return false;
    }
  }
  fStiffnessLine = line;
  if (!Count(line, kMaxStiffnessRows, count) || !Read(line, 2 * count, record)) return false;
  for (std::size_t row = 0; row < count; ++row) {
    const std::string& stiffness = record.words[2 * row];
    const std::string& depth = record.words[2 * row + 1];
    const auto ae = Real(stiffness);
    const auto at = Real(depth);
    if (!ae || !at) return false;
    fStiffness.emplace_back(*at, *ae);
    fStiffnessWords.emplace_back(stiffness, depth);
  }
  if (!Read(line, 5, fPile)) return false;
  const auto length = Real(fPile.words[1]);
  const auto diameter = Real(fPile.words[3]);
  const auto tipArea = Real(fPile.words[4]);
  if (!length || !diameter || !tipArea) return false;
  fLength = *length;
  fDiameter = *diameter;
  fTipArea = *tipArea;
  if (!Count(line, kMaxTipMovements, count) || (count > 0 && !Read(line, count, record)))
    return false;
  fLoadsLine = line;
  if (!Count(line, kMaxHeadLoads, count)) return false;
  for (std::size_t load = 0; load < count; ++load) {
    if (!Read(line, 1, record) || !Real(record.words.front())) return false;
    fHeadLoads.push_back(record.words.front());
  }
  fAfterLoads = line;
  if (!Count(line, kMaxSettlementPoints, count)) return false;
  fDownDrag = count > 0;
  return true;
}

std::optional<std::string> TVariantMaker::VariantText(double value, std::string& error) const {
  if (!Ready()) {
    error = fProblem;
    return std::nullopt;
  }
  // Words change only where values do, so the variant at the project's own
  // value is the project itself.
  std::vector<std::pair<std::string, std::string>> stiffness = fStiffnessWords;
  std::vector<std::string> pile = fPile.words;
  if (fRules.parameter == TStudyParameter::kLength) {
    stiffness.clear();
    bool reachesTip = false;
    for (std::size_t row = 0; row < fStiffness.size(); ++row) {
      if (fStiffness[row].first > value && !stiffness.empty()) continue;
      stiffness.push_back(fStiffnessWords[row]);
      reachesTip = reachesTip || fStiffness[row].first >= value;
    }
    if (!reachesTip)
      stiffness.emplace_back(DataFileNumber(StiffnessAt(fStiffness, value)), DataFileNumber(value));
    if (stiffness.size() > kMaxStiffnessRows) {
      error = "The stiffness table holds " + std::to_string(kMaxStiffnessRows) +
              " rows, the most it can: no row can be added at the tip of a pile " +
              ValueText(value) + " long.";
      return std::nullopt;
    }
    if (value != fLength) pile[1] = DataFileNumber(value);
  } else if (value != fDiameter) {
    const double square = (value / fDiameter) * (value / fDiameter);
    pile[3] = DataFileNumber(value);
    pile[4] = DataFileNumber(fTipArea * square);
    if (fRules.scaleAE) {
      for (std::size_t row = 0; row < stiffness.size(); ++row)
        stiffness[row].first = DataFileNumber(fStiffness[row].second * square);
    }
  }

  std::string text;
  auto copy = [&](std::size_t from, std::size_t to) {
    for (std::size_t line = from; line < to; ++line) text += fLines[line] + "\n";
  };
  copy(0, fStiffnessLine);
  if (stiffness == fStiffnessWords) {
    copy(fStiffnessLine, fPile.firstLine);
  } else {
    text += std::to_string(stiffness.size()) + "\n";
    for (const auto& [ae, depth] : stiffness) text += ae + " " + depth + "\n";
  }
  if (pile == fPile.words)
    copy(fPile.firstLine, fPile.endLine);
  else
    text += Joined(pile) + "\n";
  copy(fPile.endLine, fLoadsLine);
  if (fRules.designLoad) {
    text += std::to_string(fHeadLoads.size() + 1) + "\n";
    for (const std::string& load : fHeadLoads) text += load + "\n";
    text += DataFileNumber(*fRules.designLoad) + "\n";
  } else {
    copy(fLoadsLine, fAfterLoads);
  }
  copy(fAfterLoads, fLines.size());
  return text;
}

}  // namespace korvan
