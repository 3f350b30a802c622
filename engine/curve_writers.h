// The curve listings of the report, and the t-z curve block and the tip
// curve block that open the plot file.
#pragma once

#include <string_view>

#include "run_context.h"

namespace korvan {

// Two empty lines and the caption of one curve listing.
void WriteCurveCaption(RunContext& ctx, std::string_view caption);
// The t-z curve listing of the first `count` curves of the store.
void WriteTzCurveListing(RunContext& ctx, Int count);
// The tip curve listing of QTIP and WTIP.
void WriteTipCurveListing(RunContext& ctx);

// The plot file's t-z curve block: a count line and the first `count`
// curves of the store.
void WriteTzPlotBlock(RunContext& ctx, Int count);
// The plot file's tip curve block: a count line and the points.
void WriteTipPlotBlock(RunContext& ctx);

}  // namespace korvan
