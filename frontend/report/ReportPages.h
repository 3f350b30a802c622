// The report laid out on pages of one size and painted page by page with
// any painter: a PDF writer, a printer or its preview, a picture. Text is
// drawn as text, so that tables and headings stay extractable; the side
// view and the graphs are drawn by the program's own drawing routines at
// the device's resolution.
#pragma once

#include <QFont>
#include <QSize>
#include <vector>

#include "report/ReportDocument.h"

class QPainter;

namespace korvan {

class TReportPages {
 public:
  // Lays `document` out on pages whose printable area is `page` device
  // pixels at `dpi` pixels per inch. The document must outlive the pages.
  TReportPages(const TReportDocument& document, QSize page, int dpi);

  int PageCount() const { return static_cast<int>(fPages.size()); }
  // Paints page `index` (from 0), with its heading, into the printable
  // area, whose top-left corner is the painter's origin.
  void PaintPage(QPainter& painter, int index) const;

  // Where a block, or part of a table, lies on its page.
  struct TPlaced {
    size_t Block = 0;
    int Top = 0;
    int Height = 0;
    int FirstRow = 0;  // the table rows on this page: [FirstRow, EndRow)
    int EndRow = 0;
    bool Continued = false;  // the table began on an earlier page
  };
  const std::vector<TPlaced>& Page(int index) const { return fPages[static_cast<size_t>(index)]; }

 private:
  // A table's measures at the font it is drawn in.
  struct TTableGeometry {
    QFont Font;
    std::vector<int> Widths;
    int RowHeight = 0;
    int HeaderHeight = 0;
    int TitleHeight = 0;
    int NoteHeight = 0;
  };

  int Pixels(double millimetres) const;
  QFont Font(double points, bool bold = false) const;
  int TextHeight(const QFont& font, const QString& text, int width) const;
  int HeadingHeight() const;
  TTableGeometry MeasureTable(const TReportTable& table) const;
  int BlockHeight(const TReportBlock& block) const;
  // The least height of block `index` and what must stay with it: a
  // heading is kept on the page of what follows it.
  int LeadHeight(size_t index) const;
  void Paginate();
  void PlaceTable(size_t index, int& y);
  void NewPage(int& y);

  void PaintHeading(QPainter& painter, int index) const;
  void PaintBlock(QPainter& painter, const TPlaced& placed) const;
  void PaintTable(QPainter& painter, const TPlaced& placed) const;
  void PaintSideView(QPainter& painter, const TReportBlock& block, const QRect& box) const;
  void PaintGraph(QPainter& painter, const TReportBlock& block, const QRect& box) const;

  const TReportDocument* fDocument;
  QSize fPage;
  int fDpi;
  int fBodyTop = 0;
  std::vector<TTableGeometry> fTables;  // by block; empty for other blocks
  std::vector<std::vector<TPlaced>> fPages;
};

}  // namespace korvan
