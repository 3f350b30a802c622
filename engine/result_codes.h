// The result codes that one call of the entry point returns. The programs
// that call the engine include this header to name them; this header needs
// nothing else of the engine.
#pragma once

#include <cstdint>

namespace korvan {

enum ResultCode : std::int32_t {
  kRunCompleted = 0,
  kNotRun = 1,               // mode other than 4; nothing touched
  kRunDescriptionError = 2,  // names.dat missing, short or unreadable
  // The data file is missing, malformed or over 64 MB, a walk overflowed,
  // or the run stopped on an unexpected error.
  kProjectDataError = 3,
  kUnitWeightProfileShort = 4,  // unit-weight profile above a tip-curve depth
  kStrengthProfileShort = 5,    // strength profile above the tip depth
  kSideFrictionProfileShort = 6,
  kTipResistanceProfileShort = 7,
  kStrengthTypeProfileShort = 8,
  // The run files are unsafe (an output is the data file, the run
  // description or another output; a file is not a regular file), or the
  // report, plot or notes file cannot be created or written whole.
  kOutputFileError = 9,
};

}  // namespace korvan
