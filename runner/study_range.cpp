#include "runner/study_range.h"

#include <charconv>
#include <cmath>

namespace korvan {

namespace {

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

const char* ParameterWord(TStudyParameter parameter) {
  return parameter == TStudyParameter::kLength ? "length" : "diameter";
}

std::optional<TStudyRange> ParseStudyRange(const std::string& text, std::string& error) {
  TStudyRange range;
  const std::size_t equals = text.find('=');
  const std::string word = text.substr(0, equals);
  if (word == "length") {
    range.parameter = TStudyParameter::kLength;
  } else if (word == "diameter") {
    range.parameter = TStudyParameter::kDiameter;
  } else {
    error = "--vary takes length=FROM:TO:STEP or diameter=FROM:TO:STEP, not \"" + text + "\"";
    return std::nullopt;
  }
  const std::string_view bounds =
      equals == std::string::npos ? std::string_view() : std::string_view(text).substr(equals + 1);
  if (bounds.empty()) {
    error = "--vary " + word + "= has no range: give FROM:TO:STEP";
    return std::nullopt;
  }
  double* const parts[] = {&range.from, &range.to, &range.step};
  std::size_t at = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t colon = i < 2 ? bounds.find(':', at) : bounds.size();
    const auto number =
        colon == std::string_view::npos ? std::nullopt : ParseNumber(bounds.substr(at, colon - at));
    if (!number || (i == 2 && colon != bounds.size())) {
      error = "--vary " + text + ": FROM:TO:STEP must be three numbers separated by colons";
      return std::nullopt;
    }
    *parts[i] = *number;
    at = colon + 1;
  }
  return range;
}

std::optional<std::vector<double>> StudyValues(const TStudyRange& range, std::string& error) {
  const std::string name = ParameterWord(range.parameter);
  auto fail = [&](const std::string& reason) {
    error = "--vary " + name + "=" + ValueText(range.from) + ":" + ValueText(range.to) + ":" +
            ValueText(range.step) + ": " + reason;
    return std::nullopt;
  };
  if (!(range.from > 0) || !(range.to > 0)) return fail("FROM and TO must be above 0");
  if (range.from > kMaxPileDimension || range.to > kMaxPileDimension) {
    return fail("FROM and TO must be at most 1000000, as in the Pile Properties window");
  }
  if (!(range.step > 0)) return fail("STEP must be above 0");
  if (range.to < range.from) return fail("TO lies below FROM");
  // The tolerance keeps TO when rounding leaves the last step a hair short.
  const double steps = (range.to - range.from) / range.step + 1e-9;
  if (!(steps < kMaxStudyVariants)) {
    return fail("more than " + std::to_string(kMaxStudyVariants) + " variants");
  }
  std::vector<double> values;
  const int count = static_cast<int>(std::floor(steps)) + 1;
  for (int i = 0; i < count; ++i) {
    const double value = DataFileValue(range.from + i * range.step);
    if (!values.empty() && value == values.back()) {
      return fail("the step is finer than the 8 significant digits a data file holds");
    }
    values.push_back(value);
  }
  return values;
}

std::optional<double> ParsePositiveNumber(const std::string& text) {
  const auto value = ParseNumber(text);
  if (!value || !(*value > 0)) return std::nullopt;
  return value;
}

double DataFileValue(double value) {
  char buffer[64];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 8);
  double rounded = value;
  std::from_chars(buffer, written.ptr, rounded);
  return rounded;
}

std::string ValueText(double value) {
  char buffer[400];
  // Whole numbers stay whole (1000000, not 1e+06); only the very small and
  // the very large take an exponent.
  const double magnitude = std::fabs(value);
  const bool plain = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e15);
  const auto written =
      plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
            : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, written.ptr);
}

}  // namespace korvan
