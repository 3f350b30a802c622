// Placeholder: the project data reader is being built.
#include "project_reader.h"

namespace korvan {

void ReadTitleAndControl(RunContext& ctx) {
  ctx.in.TITLE = ctx.data.ReadTitle();
  throw DataFileError("the project data reader is not built yet");
}
void ReadUserTzCurves(RunContext&) {}
void ReadUserQwCurve(RunContext&) {}
void ReadSoilLayers(RunContext&) {}
void ReadPileRecords(RunContext&) {}
void ReadLoadingRecords(RunContext&) {}
void ReadSettlementRecord(RunContext&) {}
void ReadTzModificationRecord(RunContext&) {}
void ReadQwModificationRecord(RunContext&) {}
void BuildTipMovements(InputData&) {}

}  // namespace korvan
