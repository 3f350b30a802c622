#include <array>

#include "run_context.h"

namespace korvan {

void SetUnitLabels(RunContext& ctx) {
  if (ctx.in.NUNIT == 1) {
    ctx.labels = UnitLabels{"IN.", "IN.", "LBS", "PSI", "SQ IN"};
  } else {
    ctx.labels = UnitLabels{" M.", " M.", "KN.", "KPA", " SQ M"};
  }
}

std::string_view SoilTypeName(Int ksoil) {
  static constexpr std::array<std::string_view, 7> kNames = {
      "                        ", "  Driven Pile in Clay   ", "  Driven Pile in Sand   ",
      " Drilled Shaft in Clay  ", " Drilled Shaft in Sand  ", "Driven Pile in Clay, API",
      "Driven Pile in Sand, API"};
  return ksoil >= 1 && ksoil <= 6 ? kNames[ksoil] : kNames[0];
}

}  // namespace korvan
