// Fonts and fills shared by the graph drawing, its legend and its dialogs.
#pragma once

#include <QBrush>
#include <QFont>

namespace korvan {

// The graphs' serif face at a size in pixels of the surface drawn on.
QFont SerifFont(int pixels, bool bold = false);

// Fill of a soil layer by its pattern code, for a surface of `pixelsPerInch`:
// 1 backward-diagonal, 2 forward-diagonal, 3 cross, 4 diagonal cross,
// 5 horizontal and 6 vertical hatch, 7..12 tiles (7 sand); any other code
// leaves the layer unfilled. Hatches and tiles keep their size in inches.
QBrush LayerBrush(long double code, int pixelsPerInch);

}  // namespace korvan
