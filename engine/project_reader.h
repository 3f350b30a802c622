// Reading the project data file record by record, echoing each block into the
// report as it is read. Every function throws DataFileError on data that does
// not meet the record layout or the engine's capacities.
//
// Beyond the layout, the reader refuses what would make the engine index
// outside its arrays or divide by zero:
//   - a count below its least or above the capacity: NINC 1..500, NTZ 1..200
//     and NPTZ 1..200 (the lookups scan at least one curve and one point),
//     NQW 0..50, NLAYER 1..30 (generated curves need a soil profile),
//     NAE 0..50 and then at least 2 (the stiffness is interpolated between
//     rows), NTIPMV 0..100, NLOAD 0..50, NSET 0..100, NMOD 0..50;
//   - a soil type outside 1..6;
//   - an AE of 0 or below, and a pile length of 0 or below (the walk divides
//     by both).
// LSO, NUNIT, METHODTZ, METHODQW and the flags of records 12 and 13 take any
// integer: NUNIT other than 1 means SI, a method other than 2 means
// generated, a flag of 0 or below means no block.
#pragma once

#include "run_context.h"

namespace korvan {

// Records 1 to 3 and report section 1; sets the unit labels.
void ReadTitleAndControl(RunContext& ctx);
// Record 4, when METHODTZ = 2 (read only; echoed later).
void ReadUserTzCurves(RunContext& ctx);
// Record 5, when METHODQW = 2 (read only; echoed later).
void ReadUserQwCurve(RunContext& ctx);
// Record 6, when either curve set is generated, with report section 2.
void ReadSoilLayers(RunContext& ctx);
// Records 7 and 8 with report section 3.
void ReadPileRecords(RunContext& ctx);
// Records 9 and 10: sorts the user tip movements or builds the default
// series, and echoes the movements and the head loads (report section 5).
void ReadLoadingRecords(RunContext& ctx);
// Record 11 with its echo.
void ReadSettlementRecord(RunContext& ctx);
// Record 12 with its echo.
void ReadTzModificationRecord(RunContext& ctx);
// Record 13 with its echo.
void ReadQwModificationRecord(RunContext& ctx);

}  // namespace korvan
