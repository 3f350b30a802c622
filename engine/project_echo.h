// The echo of the project data in the report: the title, the soil layers and
// their property rows, the pile, and the loading and modification records,
// each written as soon as its record has been read. Headings that carry
// units in their text exist in an English (NUNIT = 1) and an SI (NUNIT = 2)
// form; with any other NUNIT they are left out while their data lines stay.
#pragma once

#include "run_context.h"

namespace korvan {

// The title block, once the title and control records are read.
void EchoTitle(RunContext& ctx);

// The layer table: its heading, then one line per layer as read.
void EchoLayerHeading(RunContext& ctx);
void EchoLayer(RunContext& ctx, Int layer);
// The unit-weight, strength and (with a layer of type 5 or 6) peak-movement
// tables of the property rows, and the closing lines of the layer echo.
void EchoPropertyRows(RunContext& ctx);

// The AE table and the pile record.
void EchoPileRecords(RunContext& ctx);

// User tip movements (after sorting) and head loads.
void EchoTipMovements(RunContext& ctx);
void EchoHeadLoads(RunContext& ctx);
void EchoSettlementProfile(RunContext& ctx);
void EchoTzModification(RunContext& ctx);
void EchoQwModification(RunContext& ctx);

}  // namespace korvan
