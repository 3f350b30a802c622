// Placeholder: curve generation is being built.
#include "curves.h"

namespace korvan {

void EchoUserCurves(RunContext&) {}
void PrepareTzCurves(RunContext&) {}
void PrepareTipCurve(RunContext&) {}

}  // namespace korvan
