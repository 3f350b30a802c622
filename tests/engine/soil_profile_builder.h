// Builds the soil layers and property rows of a test's InputData the way the
// project reader stores them: two rows per layer, at its top and its bottom.
#pragma once

#include "engine/data_model.h"

namespace korvan::testing {

struct SoilRow {
  Real gam = 0, c = 0, phi = 0, e50 = 0, blow = 0, zpeak = 0, tres = 0, uside = 0, utip = 0;
};

inline void AddRow(InputData& in, Real depth, const SoilRow& row) {
  const Int k = ++in.NSTR;
  in.XSTR[k] = depth;
  in.XG1[k] = depth;
  in.GAM1[k] = row.gam;
  in.C1[k] = row.c;
  in.PHI1[k] = row.phi;
  in.EE50[k] = row.e50;
  in.BLOW[k] = row.blow;
  in.ZPEAK[k] = row.zpeak;
  in.TRES[k] = row.tres;
  in.USIDE[k] = row.uside;
  in.UTIP[k] = row.utip;
}

inline void AddLayer(InputData& in, Int type, Real top, Real bottom, const SoilRow& atTop,
                     const SoilRow& atBottom) {
  const Int i = ++in.NLAYER;
  in.LAYNO[i] = i;
  in.KSOIL[i] = type;
  in.XTOP[i] = top;
  in.XBOT[i] = bottom;
  AddRow(in, top, atTop);
  AddRow(in, bottom, atBottom);
}

inline void AddLayer(InputData& in, Int type, Real top, Real bottom, const SoilRow& row) {
  AddLayer(in, type, top, bottom, row, row);
}

}  // namespace korvan::testing
