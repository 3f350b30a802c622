// The run's fixed texts: the unit labels of the report headings, the soil
// type names and the console's start-up banner and file-error lines.
#pragma once

#include <string_view>

#include "run_context.h"

namespace korvan {

// Sets the five unit labels from in.NUNIT (1 English, anything else SI).
void SetUnitLabels(RunContext& ctx);

// The 24-character report name of a soil type 1..6 (blanks for any other).
std::string_view SoilTypeName(Int ksoil);

// The console's start-up banner, written when the run starts and again when
// the head-load solution starts.
void WriteStartBanner(RunContext& ctx);

// "FILE ERRORS!" on the console, with the reason on the next line.
void WriteFileErrors(RunContext& ctx, std::string_view why = {});

}  // namespace korvan
