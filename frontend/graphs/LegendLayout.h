// Where the legend box of a page or picture goes and how it is set: over the
// plotting area where it covers no data, in as many columns and as small a
// font as it takes; beside the plotting area, which then gives up the room,
// when it does not fit over it; and in every case inside the drawing.
#pragma once

#include <QRect>
#include <QString>
#include <vector>

namespace korvan {

class TPlotView;

struct TLegendLayout {
  QRect Box;           // in the surface's pixels; empty when nothing is listed
  int FontPixels = 0;  // pixel size of the entries' font
  int TextHeight = 0;  // height of one entry's text
  int Columns = 1;
  int Rows = 0;
  int ColumnWidth = 0;
  int RoomBeside = 0;  // pixels the plotting area gave up at the right
  // Positions in the view's legend of the entries listed, with their texts
  // (shortened with an ellipsis only when no font is small enough).
  std::vector<int> Positions;
  std::vector<QString> Texts;

  bool Shown() const { return !Positions.empty(); }
  // Top-left corner of an entry's text cell, by its place in the box.
  QPoint EntryTopLeft(int place, int gap) const;
};

// Lays out the legend of `view`, whose drawing area and plotting area are
// already laid out, and narrows the plotting area when the legend goes
// beside it. `page` tells that the view is laid out as a printed page.
TLegendLayout PlaceLegend(TPlotView& view, bool page);

// Number of segments of the visible lines of `view` that pass through `box`
// (grown by the data pen's reach).
int CoveredSegments(const TPlotView& view, const QRect& box);

}  // namespace korvan
