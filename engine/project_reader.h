// Reading the project data file record by record, echoing each record into
// the report as it is read. The records are numbered in file order, as the
// reader's messages name them ("RECORD 6 (LAYER 2), LINE 9: ..."). Every
// function throws DataFileError on data that does not meet the record layout
// or the engine's capacities.
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
// generated, a flag of 0 or below means the record holds nothing more.
#pragma once

#include "run_context.h"

namespace korvan {

// The title, the control record (NINC LSO NUNIT) and the curve sources
// (METHODTZ METHODQW), records 1 to 3, with the report's title block; sets
// the unit labels.
void ReadTitleAndControl(RunContext& ctx);
// The user t-z curves (record 4), when METHODTZ = 2; echoed later.
void ReadUserTzCurves(RunContext& ctx);
// The user tip curve (record 5), when METHODQW = 2; echoed later.
void ReadUserQwCurve(RunContext& ctx);
// The soil layers and their property rows (record 6), when either curve set
// is generated, with the report's soil echo.
void ReadSoilLayers(RunContext& ctx);
// The AE table and the pile record (records 7 and 8) with their echo.
void ReadPileRecords(RunContext& ctx);
// The tip movements and the head loads (records 9 and 10): sorts the user
// tip movements or builds the default series, and echoes the user
// movements and the head loads.
void ReadLoadingRecords(RunContext& ctx);
// The soil settlement profile (record 11) with its echo.
void ReadSettlementRecord(RunContext& ctx);
// The t-z modification rows (record 12) with their echo.
void ReadTzModificationRecord(RunContext& ctx);
// The tip curve's multipliers (record 13) with their echo.
void ReadQwModificationRecord(RunContext& ctx);

}  // namespace korvan
