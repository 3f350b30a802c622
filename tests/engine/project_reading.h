// Helpers for the tests of the project data reader: a project file built from
// its records (the complete example file unless a test changes a record) and
// a reading of it through the reader functions in file order, with the report
// echo captured.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/project_reader.h"
#include "engine/run_context.h"
#include "test_support.h"

namespace korvan::testing {

// The records of a project file, each as its lines; an empty record is left
// out. The defaults are a complete file: English units, generated curves,
// one clay layer from 0 to 600 in, a 480 in pile of 12 in diameter.
struct ProjectParts {
  std::string title = "Example pile";
  std::string control = "100 0 1";
  std::string methods = "1 1";
  std::string userTz;
  std::string userQw;
  std::string soil =
      "1\n1 1 0.0 600.0\n0.0625 10 0.0 0.01 0 0.0 0.0 8 90\n0.0625 12 0.0 0.01 0 0.0 0.0 9 100";
  std::string ae = "2\n4.0E+08 0.0\n4.0E+08 480.0";
  std::string pile = "0.001 480.0 0.0 12.0 113.1";
  std::string tipMovements = "0";
  std::string loads = "0";
  std::string settlement = "0";
  std::string tzModification = "0";
  std::string qwModification = "0";

  std::string Text() const {
    std::string text = title + "\n";
    for (const std::string* part :
         {&control, &methods, &userTz, &userQw, &soil, &ae, &pile, &tipMovements, &loads,
          &settlement, &tzModification, &qwModification}) {
      if (!part->empty()) text += *part + "\n";
    }
    return text;
  }

  // One user t-z curve and a user Q-w curve instead of soil layers.
  static ProjectParts WithUserCurves() {
    ProjectParts parts;
    parts.methods = "2 2";
    parts.userTz = "1\n1 0.0 2\n0 0\n5 0.1";
    parts.userQw = "2\n0 0 1000 0.2";
    parts.soil.clear();
    return parts;
  }
};

struct Reading {
  std::unique_ptr<RunContext> ctx = std::make_unique<RunContext>();
  std::string error;  // the DataFileError message; empty when all was read
  std::string report;
  const InputData& in() const { return ctx->in; }
};

// Reads every record of `text` in the order of a run, without the curves.
inline Reading ReadProject(const std::string& text) {
  Reading reading;
  RunContext& ctx = *reading.ctx;
  ctx.data.OpenText(text);
  ctx.report.OpenMemory();
  try {
    ReadTitleAndControl(ctx);
    if (ctx.in.METHODTZ == 2) ReadUserTzCurves(ctx);
    if (ctx.in.METHODQW == 2) ReadUserQwCurve(ctx);
    if (ctx.in.METHODTZ != 2 || ctx.in.METHODQW != 2) ReadSoilLayers(ctx);
    ReadPileRecords(ctx);
    ReadLoadingRecords(ctx);
    ReadSettlementRecord(ctx);
    ReadTzModificationRecord(ctx);
    ReadQwModificationRecord(ctx);
  } catch (const DataFileError& error) {
    reading.error = error.what();
  }
  reading.report = ctx.report.Text();
  return reading;
}

}  // namespace korvan::testing
