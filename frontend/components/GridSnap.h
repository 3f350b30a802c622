// The sizing rule of the table editor windows: when the user drags a border,
// the window snaps to whole rows and columns of its grid. Four layouts are
// weighed (no scroll bar, vertical bar only, horizontal bar only, both) and
// the one whose size lies closest to the dragged size wins.
#pragma once

#include <vector>

namespace korvan {

// Everything that sizes the window around its grid, in pixels of the
// window's client area.
struct TGridSizes {
  std::vector<int> ColumnWidths;  // the data columns, left to right
  int FixedWidth = 0;             // the row-label column
  int HeadingHeight = 0;          // the heading rows together
  int RowHeight = 0;
  int RowCount = 0;
  int GridFrame = 0;     // both frame edges of the grid together
  int VBarWidth = 0;     // vertical scroll bar
  int HBarHeight = 0;    // horizontal scroll bar
  int OtherWidth = 0;    // the window's width beside the grid
  int OtherHeight = 0;   // the window's height beside the grid
  int MinimumWidth = 0;  // the row buttons and what else must fit
};

// What the grid shows and the window size that goes with it.
struct TGridView {
  int LeftCol = 0;
  int TopRow = 0;
  int ColumnsVisible = 0;
  int RowsVisible = 0;
  int Width = 0;
  int Height = 0;
};

// The window's client size for `view`.
int GridWindowWidth(const TGridSizes& sizes, const TGridView& view);
int GridWindowHeight(const TGridSizes& sizes, const TGridView& view);

// The layout for a window dragged from `current` to `width` x `height`.
// Raises ETableError "There must be at least 2 columns in grid" for a grid
// without data columns.
TGridView SnapSizing(const TGridSizes& sizes, const TGridView& current, int width, int height);

}  // namespace korvan
