#include "run_texts.h"

#include <array>

#include "korvan_version.h"

namespace korvan {

void SetUnitLabels(RunContext& ctx) {
  if (ctx.in.NUNIT == 1) {
    ctx.labels = UnitLabels{"IN.", "IN.", "LBS", "PSI", "SQ IN"};
  } else {
    ctx.labels = UnitLabels{" M.", " M.", "KN.", "KPA", " SQ M"};
  }
}

void WriteStartBanner(RunContext& ctx) {
  ctx.console.Write(R"(/5X, "KORVAN2021 analysis engine, version ", A)", {kVersionText});
  ctx.console.Write(R"(5X, "Load vs settlement of an axially loaded pile")");
}

void WriteFileErrors(RunContext& ctx, std::string_view why) {
  ctx.console.Write(R"(2X, "FILE ERRORS!")");
  if (!why.empty()) ctx.console.Write("2X, A", {why});
}

std::string_view SoilTypeName(Int ksoil) {
  static constexpr std::array<std::string_view, 7> kNames = {
      "                        ", "  Driven Pile in Clay   ", "  Driven Pile in Sand   ",
      " Drilled Shaft in Clay  ", " Drilled Shaft in Sand  ", "Driven Pile in Clay, API",
      "Driven Pile in Sand, API"};
  return ksoil >= 1 && ksoil <= 6 ? kNames[ksoil] : kNames[0];
}

}  // namespace korvan
