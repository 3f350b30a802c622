#include "runner/result_meanings.h"

#include "engine/result_codes.h"

namespace korvan {

std::string EngineResultMeaning(std::int32_t code) {
  switch (code) {
    case kNotRun:
      return "the engine was called in a mode other than 4.";
    case kRunDescriptionError:
      return "the run-description file names.dat is missing, incomplete or unreadable, or "
             "names a path the engine cannot use.";
    case kProjectDataError:
      return "the project data file is missing or malformed, or holds a value the analysis "
             "cannot use (also when the solution reaches numbers beyond its range).";
    case kUnitWeightProfileShort:
    case kStrengthProfileShort:
    case kSideFrictionProfileShort:
    case kTipResistanceProfileShort:
    case kStrengthTypeProfileShort:
      return "the soil profile does not reach a depth the analysis needs.";
    case kOutputFileError:
      return "the report, the plot data or the run-notes file cannot be created or written "
             "whole (a full disk, or an output that is the data file, another output or not a "
             "plain file).";
    default:
      return "the engine returned an unknown result code.";
  }
}

std::vector<ResultCodeRange> StoppedRunCodes() {
  std::vector<ResultCodeRange> ranges;
  for (std::int32_t code = kNotRun; code <= kOutputFileError; ++code) {
    std::string meaning = EngineResultMeaning(code);
    if (!ranges.empty() && ranges.back().meaning == meaning) {
      ranges.back().last = code;
    } else {
      ranges.push_back({code, code, std::move(meaning)});
    }
  }
  return ranges;
}

}  // namespace korvan
