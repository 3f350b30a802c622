// Generation of the t-z curves from the soil layers: the report set (five
// curves per layer, for display) and the analysis set (one curve per pile
// increment, at its mid-depth), both in ctx.in.tz.
#pragma once

#include <span>
#include <vector>

#include "run_context.h"

namespace korvan {

struct CurveSites {
  std::vector<Real> depths;
  std::vector<Int> types;
};

// Five curves per layer: its top, quarter, middle, three-quarter depth and
// 0.01 above its bottom, all of the layer's type.
CurveSites ReportSetSites(const InputData& in);
// One curve at the mid-depth of every pile increment.
CurveSites AnalysisSetSites(const InputData& in);
// The soil type of an analysis curve at depth x: a depth on a layer boundary
// belongs to the upper layer.
Int AnalysisCurveType(const InputData& in, Real x);

// Replaces the store by curves at the given sites; stops at the first curve
// whose lookup sets a result code. Throws DataFileError when the sites exceed
// the store or the data give a soil type outside 1..6 or no finite curve.
void GenerateTzCurves(RunContext& ctx, const CurveSites& sites);
// Curve k at XTZ(k) with type KTZ(k).
void GenerateTzCurve(RunContext& ctx, Int k);

}  // namespace korvan
