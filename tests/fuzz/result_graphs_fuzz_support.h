// What the fuzz targets of the result files share: one project read from a
// sample, whose switches that the plot reader looks at are set by a
// selector byte, and the graphs the main window would fill.
#pragma once

#include <QString>
#include <cstdint>

#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"

namespace korvan::fuzz {

// The sample with soil layers and a soil-settlement table, so that every
// overlay the reader adds has rows to draw.
inline TProgramData& FuzzProject() {
  static TInputTables* const tables = new TInputTables();
  static TProgramData* const project = [] {
    auto* read = new TProgramData(*tables);
    read->ReadFile(QStringLiteral(KORVAN_EXAMPLES_DIR "/downdrag-modified-si.kv4d"), dfKorvan2021);
    return read;
  }();
  return *project;
}

// Bit 0: down-drag; bit 1: head loads (load method 2); bit 2: SI units;
// bit 3: user t-z and Q-w curves only (no soil layers). The seeds' first
// bytes are letters: 'B' (head loads), 'F' (SI), 'G' (SI, down-drag), 'J'
// (user curves).
inline TProgramData& ProjectFor(std::uint8_t selector) {
  TProgramData& project = FuzzProject();
  project.downdrag = selector & 1;
  project.Nloadmethod = (selector & 2) ? 2 : 1;
  project.fUnits = (selector & 4) ? 2 : 1;
  project.UserTz = project.UserQw = (selector & 8) != 0;
  return project;
}

inline TResultGraphs& Graphs() {
  static TResultGraphs* const graphs = new TResultGraphs();
  return *graphs;
}

}  // namespace korvan::fuzz
