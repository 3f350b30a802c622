// Graphs on paper: the page margins of Page Setup, the page's drawing
// rectangle and the printing of a graph with its legend box.
#pragma once

#include "graphs/PlotView.h"

class QPrinter;

namespace korvan {

// Page margins in thousandths of an inch.
struct TPageMargins {
  int Left = 1000;
  int Top = 1000;
  int Right = 1000;
  int Bottom = 1000;
};

// The page inside the margins, each raised to at least the printer's
// unprintable edge on its side, in printer pixels from the paper's corner.
TPixelRect PageBounds(QPrinter& printer, const TPageMargins& margins);

// `view` laid out on the printer's page at its resolution, legend box drawn.
TPlotView PageView(const TPlotView& view, QPrinter& printer, const TPageMargins& margins);

// Prints `view`'s graph on one page of `printer`, laid out for the page at
// the printer's resolution; the print job is named by the graph's caption.
// Throws EKorvanError when the printer cannot be started.
void PrintGraph(const TPlotView& view, QPrinter& printer, const TPageMargins& margins);

// The margins in and out of the printer's page layout, for Page Setup.
void ApplyMargins(QPrinter& printer, const TPageMargins& margins);
TPageMargins MarginsOf(const QPrinter& printer);

}  // namespace korvan
