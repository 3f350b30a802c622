#include "runner/study_table.h"

#include <charconv>
#include <optional>

namespace korvan {

namespace {

std::string Cell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string Line(const std::vector<std::string>& cells) {
  std::string line;
  for (const std::string& cell : cells) line += (line.empty() ? "" : ",") + Cell(cell);
  return line + "\n";
}

std::string Optional(const std::optional<double>& value) {
  return value ? ResultText(*value) : std::string();
}

}  // namespace

std::string ResultText(double value) {
  char buffer[400];
  auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 5);
  double rounded = value;
  std::from_chars(buffer, written.ptr, rounded);
  // Loads read as whole numbers (500050, not 5.0005e+05).
  return ValueText(rounded);
}

std::vector<std::string> StudyTableHeadings(const TStudySettings& settings) {
  const std::string length = LengthUnit(settings.unitSystem);
  const std::string force = ForceUnit(settings.unitSystem);
  return {std::string(ParameterWord(settings.parameter)) + " (" + length + ")",
          "result code",
          "largest head load (" + force + ")",
          "settlement under design load (" + length + ")",
          "load at settlement limit (" + force + ")",
          "note"};
}

std::vector<std::string> StudyTableRow(const TVariantOutcome& outcome) {
  std::string note = outcome.reason;
  for (const std::string& text : outcome.notes) note += (note.empty() ? "" : "; ") + text;
  return {ValueText(outcome.value),
          outcome.code == kVariantNotRun ? std::string() : std::to_string(outcome.code),
          Optional(outcome.largestHeadLoad),
          Optional(outcome.designSettlement),
          Optional(outcome.limitLoad),
          note};
}

std::string StudyTableText(const std::vector<TVariantOutcome>& outcomes,
                           const TStudySettings& settings) {
  std::string text = Line(StudyTableHeadings(settings));
  for (const TVariantOutcome& outcome : outcomes) text += Line(StudyTableRow(outcome));
  return text;
}

}  // namespace korvan
