// Everything one run of the engine owns: the run description, the open
// channels, the input data, the results and the result code. A fresh context
// is created for every call of the entry point, so every run starts from
// zeroed state and two runs in one process write identical files.
#pragma once

#include <string>
#include <string_view>

#include "data_model.h"
#include "line_layout/channel.h"
#include "record_reader.h"
#include "result_codes.h"

namespace korvan {

struct RunDescription {
  std::string VERSION;       // 12 characters, blank padded
  std::string ORGANISATION;  // at most 256 characters
  std::string LOCATION;      // at most 256 characters
  Int IDNUMBER = 0;
  std::string DATAPATH, REPORTPATH, PLOTPATH, NOTESPATH;  // read whole, never cut
};

struct UnitLabels {
  std::string_view LengthLabel = "IN.";
  std::string_view MovementLabel = "IN.";
  std::string_view ForceLabel = "LBS";
  std::string_view StressLabel = "PSI";
  std::string_view AreaLabel = "SQ IN";
};

struct RunContext {
  RunDescription names;
  OutputChannel console;  // progress and error lines (standard output)
  OutputChannel report;   // REPORTPATH (".kv4o")
  OutputChannel plot;     // PLOTPATH (".kv4p")
  RecordReader data;      // DATAPATH (".kv4d"), read whole when opened
  InputData in;
  Results res;
  UnitLabels labels;
  Int result = kRunCompleted;

  bool Failed() const { return result > 0; }
};

}  // namespace korvan
