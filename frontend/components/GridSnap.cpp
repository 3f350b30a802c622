#include "components/GridSnap.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/TableErrors.h"

namespace korvan {

namespace {

int ColumnCount(const TGridSizes& sizes) {
  return static_cast<int>(sizes.ColumnWidths.size());
}

bool HasVBar(const TGridSizes& sizes, const TGridView& view) {
  return view.RowsVisible < sizes.RowCount;
}

bool HasHBar(const TGridSizes& sizes, const TGridView& view) {
  return view.ColumnsVisible < ColumnCount(sizes);
}

int ColumnsWidth(const TGridSizes& sizes, int first, int count) {
  int width = 0;
  for (int c = first; c < std::min(first + count, ColumnCount(sizes)); ++c) {
    width += sizes.ColumnWidths[static_cast<size_t>(c)];
  }
  return width;
}

// Width of the window without the columns, for a candidate.
int BareWidth(const TGridSizes& sizes, bool vBar) {
  return sizes.OtherWidth + sizes.GridFrame + sizes.FixedWidth + (vBar ? sizes.VBarWidth : 0);
}

int BareHeight(const TGridSizes& sizes, bool hBar) {
  return sizes.OtherHeight + sizes.GridFrame + sizes.HeadingHeight + (hBar ? sizes.HBarHeight : 0);
}

void FitColumns(const TGridSizes& sizes, const TGridView& current, bool widthDragged, int width,
                bool vBar, bool hBar, TGridView& view) {
  const int columns = ColumnCount(sizes);
  if (!hBar) {
    view.LeftCol = 0;
    view.ColumnsVisible = columns;
    return;
  }
  view.LeftCol = std::clamp(current.LeftCol, 0, columns - 1);
  if (!widthDragged) {
    view.ColumnsVisible = std::clamp(current.ColumnsVisible, 1, columns - view.LeftCol);
    return;
  }
  // From the leftmost column rightwards while the width stays below the
  // dragged one, then leftwards while room remains.
  const int bare = BareWidth(sizes, vBar);
  int used = bare + sizes.ColumnWidths[static_cast<size_t>(view.LeftCol)];
  int count = 1;
  while (view.LeftCol + count < columns &&
         used + sizes.ColumnWidths[static_cast<size_t>(view.LeftCol + count)] <= width) {
    used += sizes.ColumnWidths[static_cast<size_t>(view.LeftCol + count)];
    ++count;
  }
  while (view.LeftCol > 0 &&
         used + sizes.ColumnWidths[static_cast<size_t>(view.LeftCol - 1)] <= width) {
    --view.LeftCol;
    used += sizes.ColumnWidths[static_cast<size_t>(view.LeftCol)];
    ++count;
  }
  view.ColumnsVisible = count;
}

void FitRows(const TGridSizes& sizes, const TGridView& current, bool heightDragged, int height,
             bool hBar, bool vBar, TGridView& view) {
  const int rows = std::max(1, sizes.RowCount);
  if (!vBar) {
    view.TopRow = 0;
    view.RowsVisible = rows;
    return;
  }
  view.TopRow = std::clamp(current.TopRow, 0, rows - 1);
  if (!heightDragged) {
    view.RowsVisible = std::clamp(current.RowsVisible, 1, rows);
  } else {
    const int room = height - BareHeight(sizes, hBar) - sizes.RowHeight;
    view.RowsVisible =
        1 + std::clamp(sizes.RowHeight > 0 ? room / sizes.RowHeight : 0, 0, rows - 1);
  }
  view.TopRow = std::min(view.TopRow, rows - view.RowsVisible);
}

std::int64_t Excess(const TGridView& view, int width, int height) {
  const std::int64_t boxWidth = std::max(view.Width, width);
  const std::int64_t boxHeight = std::max(view.Height, height);
  return boxWidth * boxHeight - static_cast<std::int64_t>(width) * height;
}

}  // namespace

int GridWindowWidth(const TGridSizes& sizes, const TGridView& view) {
  const int width = BareWidth(sizes, HasVBar(sizes, view)) +
                    ColumnsWidth(sizes, view.LeftCol, view.ColumnsVisible);
  return std::max(width, sizes.MinimumWidth);
}

int GridWindowHeight(const TGridSizes& sizes, const TGridView& view) {
  return BareHeight(sizes, HasHBar(sizes, view)) + view.RowsVisible * sizes.RowHeight;
}

TGridView SnapSizing(const TGridSizes& sizes, const TGridView& current, int width, int height) {
  if (ColumnCount(sizes) < 1) {
    throw ETableError(QStringLiteral("There must be at least 2 columns in grid"));
  }
  const bool widthDragged = width != current.Width;
  const bool heightDragged = height != current.Height;
  TGridView best;
  std::int64_t bestExcess = std::numeric_limits<std::int64_t>::max();
  // No bars, vertical only, horizontal only, both: ties go to the earlier.
  for (const auto& [vBar, hBar] : {std::pair{false, false}, std::pair{true, false},
                                   std::pair{false, true}, std::pair{true, true}}) {
    TGridView view;
    FitColumns(sizes, current, widthDragged, width, vBar, hBar, view);
    FitRows(sizes, current, heightDragged, height, hBar, vBar, view);
    view.Width = GridWindowWidth(sizes, view);
    view.Height = GridWindowHeight(sizes, view);
    const std::int64_t excess = Excess(view, width, height);
    if (excess < bestExcess) {
      bestExcess = excess;
      best = view;
    }
  }
  return best;
}

}  // namespace korvan
