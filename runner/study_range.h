// The parameter a design study varies and the values it gives it:
// "length=FROM:TO:STEP" or "diameter=FROM:TO:STEP" in the project's units,
// each value rounded to the 8 significant digits a project data file holds.
// No Qt: the command and the desktop program share it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvan {

enum class TStudyParameter { kLength, kDiameter };

// "length" or "diameter": the word of --vary and of the variant files' names.
const char* ParameterWord(TStudyParameter parameter);

inline constexpr int kMaxStudyVariants = 200;
// The largest length or diameter the Pile Properties window takes.
inline constexpr double kMaxPileDimension = 1E6;

struct TStudyRange {
  TStudyParameter parameter = TStudyParameter::kLength;
  double from = 0;
  double to = 0;
  double step = 0;
};

// The range of "length=FROM:TO:STEP" or "diameter=FROM:TO:STEP"; nothing
// when the text is no such range, with the reason in `error`.
std::optional<TStudyRange> ParseStudyRange(const std::string& text, std::string& error);

// FROM, FROM + STEP, ... up to TO (also TO itself when a step lands on it
// within rounding), each rounded to 8 significant digits. Nothing, with the
// reason in `error`, when a bound is not above 0 or beyond kMaxPileDimension,
// the step is not above 0, TO lies below FROM, or the range gives more than
// kMaxStudyVariants values or two values a data file cannot tell apart.
std::optional<std::vector<double>> StudyValues(const TStudyRange& range, std::string& error);

// A finite number above 0 written as a whole text ("400000", "2.5e-2"), or
// nothing.
std::optional<double> ParsePositiveNumber(const std::string& text);

// `value` to 8 significant digits, as the project data file holds it.
double DataFileValue(double value);

// The shortest text of a value ("32.5", "0.45", "1000000", "1e-06"): how
// variant names and study.csv show the values.
std::string ValueText(double value);

}  // namespace korvan
