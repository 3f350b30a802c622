#include "report/ReportPages.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "graphs/PlotView.h"
#include "graphs/SideViewDrawing.h"

namespace korvan {

namespace {

const QString kFamily = QStringLiteral("Liberation Sans");
constexpr double kMetresPerInch = 0.0254;

// Type sizes in points.
constexpr double kHeadingPoints = 8.5;
constexpr double kSectionPoints = 13;
constexpr double kSubsectionPoints = 10.5;
constexpr double kTextPoints = 9.5;
constexpr double kNoticePoints = 10;
constexpr double kTablePoints = 8;
constexpr double kSmallestTablePoints = 5.5;

// Measures in millimetres.
constexpr double kBlockGap = 2.5;
constexpr double kHeadingGap = 5;
constexpr double kCellPaddingX = 1.4;
constexpr double kCellPaddingY = 0.7;
constexpr double kNoticePadding = 3;

// The side view takes this share of a page's body, the graphs at most this
// many times the body's width in height.
constexpr double kSideViewShare = 0.55;
constexpr double kGraphAspect = 1.3;
// A table broken over pages keeps at least this many rows on each side.
constexpr int kRowsAroundBreak = 3;
// Room above and below the side view's drawing, as a share of its height.
constexpr double kSideViewRoom = 0.08;

const QColor kHeaderShade(0xe8, 0xec, 0xf2);
const QColor kRuleColor(120, 120, 120);
const QColor kNoticeColor(0xb0, 0x1e, 0x1e);

// Metrics of `font` on a surface of `dpi` pixels per inch.
QFontMetricsF Metrics(const QFont& font, int dpi) {
  QImage probe(1, 1, QImage::Format_RGB32);
  const int dotsPerMetre = static_cast<int>(std::lround(dpi / kMetresPerInch));
  probe.setDotsPerMeterX(dotsPerMetre);
  probe.setDotsPerMeterY(dotsPerMetre);
  return QFontMetricsF(font, &probe);
}

int Ceil(double value) {
  return static_cast<int>(std::ceil(value));
}

bool IsHeading(TReportBlockKind kind) {
  return kind == TReportBlockKind::Section || kind == TReportBlockKind::Subsection;
}

QPen Rule(int dpi) {
  QPen pen(kRuleColor, std::max(1.0, dpi / 300.0));
  return pen;
}

}  // namespace

TReportPages::TReportPages(const TReportDocument& document, QSize page, int dpi)
    : fDocument(&document), fPage(page), fDpi(std::max(dpi, 1)) {
  fBodyTop = HeadingHeight() + Pixels(kHeadingGap);
  fTables.resize(document.Blocks.size());
  for (size_t i = 0; i < document.Blocks.size(); ++i) {
    if (document.Blocks[i].Kind == TReportBlockKind::Table)
      fTables[i] = MeasureTable(document.Blocks[i].Table);
  }
  Paginate();
}

int TReportPages::Pixels(double millimetres) const {
  return static_cast<int>(std::lround(millimetres / 25.4 * fDpi));
}

QFont TReportPages::Font(double points, bool bold) const {
  QFont font(kFamily);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * fDpi / 72.0))));
  font.setBold(bold);
  return font;
}

int TReportPages::TextHeight(const QFont& font, const QString& text, int width) const {
  const QRectF bounds =
      Metrics(font, fDpi)
          .boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap | Qt::AlignLeft, text);
  return Ceil(bounds.height());
}

int TReportPages::HeadingHeight() const {
  return Ceil(3 * Metrics(Font(kHeadingPoints), fDpi).lineSpacing()) + Pixels(1.5);
}

TReportPages::TTableGeometry TReportPages::MeasureTable(const TReportTable& table) const {
  TTableGeometry g;
  const int columns = static_cast<int>(table.Columns.size());
  const int padX = Pixels(kCellPaddingX);
  const int padY = Pixels(kCellPaddingY);
  double points = kTablePoints;
  for (;;) {
    g.Font = Font(points);
    const QFontMetricsF metrics = Metrics(g.Font, fDpi);
    g.Widths.assign(static_cast<size_t>(columns), 0);
    int captionLines = 1;
    for (int c = 0; c < columns; ++c) {
      const QStringList lines = table.Columns[c].split(QLatin1Char('\n'));
      captionLines = std::max(captionLines, static_cast<int>(lines.size()));
      for (const QString& line : lines)
        g.Widths[c] = std::max(g.Widths[c], Ceil(metrics.horizontalAdvance(line)));
    }
    for (const QStringList& row : table.Rows) {
      // A spanning last cell takes the room of the columns it covers.
      const int measured = row.size() < columns ? static_cast<int>(row.size()) - 1 : columns;
      for (int c = 0; c < measured; ++c)
        g.Widths[c] = std::max(g.Widths[c], Ceil(metrics.horizontalAdvance(row[c])));
    }
    int total = 0;
    for (int& width : g.Widths) total += width += 2 * padX;
    if (total <= fPage.width() || points <= kSmallestTablePoints) {
      g.RowHeight = Ceil(metrics.lineSpacing()) + 2 * padY;
      g.HeaderHeight = Ceil(captionLines * metrics.lineSpacing()) + 2 * padY;
      break;
    }
    points = std::max(kSmallestTablePoints, points * fPage.width() / total * 0.98);
  }
  g.TitleHeight = table.Title.isEmpty()
                      ? 0
                      : TextHeight(Font(kTextPoints, true), table.Title, fPage.width()) + Pixels(1);
  g.NoteHeight = table.Note.isEmpty()
                     ? 0
                     : Pixels(1) + TextHeight(Font(kTablePoints), table.Note, fPage.width());
  return g;
}

int TReportPages::BlockHeight(const TReportBlock& block) const {
  const int width = fPage.width();
  switch (block.Kind) {
    case TReportBlockKind::Section:
      return Pixels(4) + TextHeight(Font(kSectionPoints, true), block.Text, width);
    case TReportBlockKind::Subsection:
      return Pixels(2) + TextHeight(Font(kSubsectionPoints, true), block.Text, width);
    case TReportBlockKind::Text:
      return TextHeight(Font(kTextPoints), block.Text, width);
    case TReportBlockKind::Notice:
      return TextHeight(Font(kNoticePoints, true), block.Text, width - 2 * Pixels(kNoticePadding)) +
             2 * Pixels(kNoticePadding);
    case TReportBlockKind::SideView:
      return TextHeight(Font(kTextPoints), block.Text, width) + Pixels(1) +
             static_cast<int>(kSideViewShare * (fPage.height() - fBodyTop));
    case TReportBlockKind::Table:
    case TReportBlockKind::Graph:
      break;
  }
  return 0;
}

int TReportPages::LeadHeight(size_t index) const {
  const auto& blocks = fDocument->Blocks;
  if (index >= blocks.size()) return 0;
  const TReportBlock& block = blocks[index];
  switch (block.Kind) {
    case TReportBlockKind::Table: {
      const TTableGeometry& g = fTables[index];
      const bool one = block.Table.Rows.size() <= 1;
      return g.TitleHeight + g.HeaderHeight + g.RowHeight + (one ? g.NoteHeight : 0);
    }
    case TReportBlockKind::Graph:
      return 0;  // a graph takes a page of its own
    case TReportBlockKind::Section:
    case TReportBlockKind::Subsection:
      return BlockHeight(block) + Pixels(kBlockGap) + LeadHeight(index + 1);
    default:
      return BlockHeight(block) + Pixels(kBlockGap);
  }
}

void TReportPages::NewPage(int& y) {
  fPages.emplace_back();
  y = fBodyTop;
}

void TReportPages::Paginate() {
  int y = 0;
  NewPage(y);
  const int bottom = fPage.height();
  const auto& blocks = fDocument->Blocks;
  for (size_t i = 0; i < blocks.size(); ++i) {
    const TReportBlock& block = blocks[i];
    if (block.Kind == TReportBlockKind::Table) {
      PlaceTable(i, y);
      continue;
    }
    if (block.Kind == TReportBlockKind::Graph) {
      // Each graph has a page of its own, as tall as suits its width.
      if (y != fBodyTop && !(i > 0 && IsHeading(blocks[i - 1].Kind))) NewPage(y);
      const int title = TextHeight(Font(kSubsectionPoints, true), block.Text, fPage.width());
      const int room = bottom - y - title - Pixels(1);
      const int height =
          title + Pixels(1) + std::min(room, static_cast<int>(kGraphAspect * fPage.width()));
      fPages.back().push_back({i, y, height});
      y += height + Pixels(kBlockGap);
      continue;
    }
    const int height = BlockHeight(block);
    const int keep = IsHeading(block.Kind) ? LeadHeight(i + 1) : 0;
    const bool graphFollows =
        i + 1 < blocks.size() && blocks[i + 1].Kind == TReportBlockKind::Graph;
    if (y != fBodyTop && (y + height + keep > bottom || (IsHeading(block.Kind) && graphFollows &&
                                                         i > 0 && !IsHeading(blocks[i - 1].Kind))))
      NewPage(y);
    fPages.back().push_back({i, y, height});
    y += height + Pixels(kBlockGap);
  }
}

void TReportPages::PlaceTable(size_t index, int& y) {
  const TReportTable& table = fDocument->Blocks[index].Table;
  const TTableGeometry& g = fTables[index];
  const int bottom = fPage.height();
  const int rows = static_cast<int>(table.Rows.size());
  int row = 0;
  bool continued = false;
  do {
    const int head = g.TitleHeight + g.HeaderHeight;
    const int left = rows - row;
    int take = std::min(left, std::max(0, (bottom - y - head) / g.RowHeight));
    if (take == left && y + head + take * g.RowHeight + g.NoteHeight > bottom) --take;
    // A table is broken only with a few rows on each side of the break,
    // unless the page is empty.
    if (take < left && y != fBodyTop &&
        (take < kRowsAroundBreak || left - take < kRowsAroundBreak)) {
      if (take >= 2 * kRowsAroundBreak) {
        take = left - kRowsAroundBreak;
      } else {
        NewPage(y);
        continue;
      }
    }
    take = std::max(take, std::min(1, left));
    const bool ends = row + take == rows;
    const int height = head + take * g.RowHeight + (ends ? g.NoteHeight : 0);
    fPages.back().push_back({index, y, height, row, row + take, continued});
    y += height + Pixels(kBlockGap);
    row += take;
    continued = true;
    if (row < rows) NewPage(y);
  } while (row < rows);
}

void TReportPages::PaintPage(QPainter& painter, int index) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  PaintHeading(painter, index);
  for (const TPlaced& placed : Page(index)) PaintBlock(painter, placed);
  painter.restore();
}

void TReportPages::PaintHeading(QPainter& painter, int index) const {
  const TReportHeading& h = fDocument->Heading;
  const QFont plain = Font(kHeadingPoints);
  const QFont bold = Font(kHeadingPoints, true);
  const double line = Metrics(plain, fDpi).lineSpacing();
  const int width = fPage.width();
  const int gap = Pixels(4);
  auto row = [&](int n, const QFont& leftFont, const QString& left, const QString& right) {
    const QRectF box(0, n * line, width, line);
    painter.setFont(plain);
    const double rightWidth = right.isEmpty() ? 0 : Metrics(plain, fDpi).horizontalAdvance(right);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, right);
    painter.setFont(leftFont);
    const QString shown =
        Metrics(leftFont, fDpi).elidedText(left, Qt::ElideRight, width - rightWidth - gap);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, shown);
  };
  painter.setPen(Qt::black);
  row(0, bold, h.Program + QStringLiteral(" – Calculation report"),
      QStringLiteral("Page %1 of %2").arg(index + 1).arg(PageCount()));
  row(1, bold, h.Title, QString());
  row(2, plain,
      QStringLiteral("File: %1").arg(h.FileName) +
          (h.Organisation.isEmpty() ? QString() : QStringLiteral("    ") + h.Organisation),
      QStringLiteral("Analysis: %1").arg(h.AnalysisDate));
  painter.setPen(Rule(fDpi));
  const int ruleY = HeadingHeight();
  painter.drawLine(0, ruleY, width, ruleY);
}

void TReportPages::PaintBlock(QPainter& painter, const TPlaced& placed) const {
  const TReportBlock& block = fDocument->Blocks[placed.Block];
  const int width = fPage.width();
  QRect box(0, placed.Top, width, placed.Height);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  const int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
  switch (block.Kind) {
    case TReportBlockKind::Section:
      painter.setFont(Font(kSectionPoints, true));
      painter.drawText(box.adjusted(0, Pixels(4), 0, 0), flags, block.Text);
      break;
    case TReportBlockKind::Subsection:
      painter.setFont(Font(kSubsectionPoints, true));
      painter.drawText(box.adjusted(0, Pixels(2), 0, 0), flags, block.Text);
      break;
    case TReportBlockKind::Text:
      painter.setFont(Font(kTextPoints));
      painter.drawText(box, flags, block.Text);
      break;
    case TReportBlockKind::Notice: {
      const int pad = Pixels(kNoticePadding);
      QPen frame(kNoticeColor, Pixels(0.5));
      painter.setPen(frame);
      painter.drawRect(box.adjusted(0, 0, -1, -1));
      painter.setPen(kNoticeColor);
      painter.setFont(Font(kNoticePoints, true));
      painter.drawText(box.adjusted(pad, pad, -pad, -pad), flags, block.Text);
      break;
    }
    case TReportBlockKind::Table:
      PaintTable(painter, placed);
      break;
    case TReportBlockKind::SideView: {
      painter.setFont(Font(kTextPoints));
      const int caption = TextHeight(painter.font(), block.Text, width);
      painter.drawText(QRect(0, placed.Top, width, caption), flags, block.Text);
      PaintSideView(painter, block, box.adjusted(0, caption + Pixels(1), 0, 0).intersected(box));
      break;
    }
    case TReportBlockKind::Graph: {
      painter.setFont(Font(kSubsectionPoints, true));
      const int title = TextHeight(painter.font(), block.Text, width);
      painter.drawText(QRect(0, placed.Top, width, title), flags, block.Text);
      PaintGraph(painter, block, box.adjusted(0, title + Pixels(1), 0, 0));
      break;
    }
  }
}

void TReportPages::PaintTable(QPainter& painter, const TPlaced& placed) const {
  const TReportTable& table = fDocument->Blocks[placed.Block].Table;
  const TTableGeometry& g = fTables[placed.Block];
  const int padX = Pixels(kCellPaddingX);
  const int columns = static_cast<int>(table.Columns.size());
  int y = placed.Top;
  if (g.TitleHeight > 0) {
    painter.setFont(Font(kTextPoints, true));
    painter.drawText(QRect(0, y, fPage.width(), g.TitleHeight), Qt::AlignLeft | Qt::AlignTop,
                     table.Title + (placed.Continued ? QStringLiteral(" (continued)") : QString()));
    y += g.TitleHeight;
  }
  std::vector<int> lefts(static_cast<size_t>(columns) + 1, 0);
  for (int c = 0; c < columns; ++c) lefts[c + 1] = lefts[c] + g.Widths[c];
  const int right = lefts.back();
  const int bodyRows = placed.EndRow - placed.FirstRow;
  const int tableBottom = y + g.HeaderHeight + bodyRows * g.RowHeight;

  painter.fillRect(QRect(0, y, right, g.HeaderHeight), kHeaderShade);
  painter.setFont(g.Font);
  painter.setPen(Qt::black);
  for (int c = 0; c < columns; ++c) {
    painter.drawText(QRect(lefts[c] + padX, y, g.Widths[c] - 2 * padX, g.HeaderHeight),
                     Qt::AlignHCenter | Qt::AlignVCenter, table.Columns[c]);
  }
  int rowTop = y + g.HeaderHeight;
  for (int r = placed.FirstRow; r < placed.EndRow; ++r, rowTop += g.RowHeight) {
    const QStringList& cells = table.Rows[static_cast<size_t>(r)];
    const int count = std::min(static_cast<int>(cells.size()), columns);
    for (int c = 0; c < count; ++c) {
      const bool spans = c == count - 1 && count < columns;
      const int cellRight = spans ? right : lefts[c + 1];
      const bool text = c < table.TextColumns || spans;
      painter.drawText(QRect(lefts[c] + padX, rowTop, cellRight - lefts[c] - 2 * padX, g.RowHeight),
                       (text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[c]);
    }
  }

  painter.setPen(Rule(fDpi));
  for (int lineY = y; lineY <= tableBottom; lineY += (lineY == y ? g.HeaderHeight : g.RowHeight))
    painter.drawLine(0, lineY, right, lineY);
  for (int c = 0; c <= columns; ++c) painter.drawLine(lefts[c], y, lefts[c], tableBottom);

  if (placed.EndRow == static_cast<int>(table.Rows.size()) && g.NoteHeight > 0) {
    painter.setPen(Qt::black);
    painter.setFont(Font(kTablePoints));
    painter.drawText(QRect(0, tableBottom + Pixels(1), fPage.width(), g.NoteHeight),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, table.Note);
  }
}

void TReportPages::PaintSideView(QPainter& painter, const TReportBlock& block,
                                 const QRect& box) const {
  if (box.isEmpty()) return;
  // The program's drawing of the side view on paper fills the middle 80 % of
  // a page: here of a page whose middle is the box, lowered by the part of
  // the pile that stands above the ground.
  const TPileProfile& profile = block.Profile;
  const double deepest = profile.Layers.empty() ? 0 : profile.Layers.back().Bottom;
  const double above = deepest > 0 && std::isfinite(profile.HeadCoord)
                           ? std::max(0.0, -profile.HeadCoord) / deepest
                           : 0.0;
  const double area = box.height() / (1 + std::min(above, 1.0) + kSideViewRoom);
  const QSizeF page(box.width() / 0.8, area / 0.8);
  const double top = box.top() + (std::min(above, 1.0) + kSideViewRoom / 2) * area;
  painter.save();
  painter.setClipRect(box);
  painter.translate(box.left() - 0.1 * page.width(), top - 0.1 * page.height());
  DrawSideViewPage(painter, page.toSize(), profile, Font(kTablePoints), TSideViewColors{});
  painter.restore();
  painter.setPen(Rule(fDpi));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(box.adjusted(0, 0, -1, -1));
}

void TReportPages::PaintGraph(QPainter& painter, const TReportBlock& block,
                              const QRect& box) const {
  TPlotView view(*block.Graph);
  if (!view.FitBounds()) {
    painter.setFont(Font(kTextPoints));
    painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, NoScaleMessage());
    return;
  }
  view.RebuildLegend();
  view.DrawWindow.Bounds = {box.left(), box.top(), box.right(), box.bottom()};
  view.DrawWindow.PixelsPerInch = QPoint(fDpi, fDpi);
  view.DrawWindow.PrintLegend = true;
  view.PlaceLegendBox(false);
  view.DrawGraph(painter);
}

}  // namespace korvan
