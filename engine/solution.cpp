// Placeholder: the solution is being built.
#include "solution.h"

namespace korvan {

void ApplyTzModification(RunContext&) {}
void ApplyQwModification(RunContext&) {}
void SolveAllTipMovements(RunContext&) {}
void SolveAllHeadLoads(RunContext&) {}

}  // namespace korvan
