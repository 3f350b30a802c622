// Report section 4 (the curve listings) and plot blocks 1 and 2.
#pragma once

#include <string_view>

#include "run_context.h"

namespace korvan {

// Two empty lines and the caption of one part of section 4.
void WriteCurveCaption(RunContext& ctx, std::string_view caption);
// The t-z curve listing of the first `count` curves of the store.
void WriteTzCurveListing(RunContext& ctx, Int count);
// The tip curve listing of QTIP and WTIP.
void WriteTipCurveListing(RunContext& ctx);

// Plot block 1: a count line and the first `count` curves of the store.
void WriteTzPlotBlock(RunContext& ctx, Int count);
// Plot block 2: the tip curve.
void WriteTipPlotBlock(RunContext& ctx);

}  // namespace korvan
