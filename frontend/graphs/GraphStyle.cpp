#include "graphs/GraphStyle.h"

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace korvan {

namespace {

// Tiles are drawn for a 16-pixel cell of a 96-pixel-per-inch screen and
// scaled to the surface, so that pages get tiles of their own resolution.
constexpr int kTileCell = 16;
constexpr double kScreenPixelsPerInch = 96;

void DrawDots(QPainter& p, double s, std::initializer_list<std::pair<int, int>> dots) {
  const double r = std::max(0.5, 0.6 * s);
  for (auto [x, y] : dots) p.drawEllipse(QPointF((x + 0.5) * s, (y + 0.5) * s), r, r);
}

// The six tile patterns on a kTileCell cell scaled by s.
void DrawTile(QPainter& p, int code, double s) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  switch (code) {
    case 7:  // sand: scattered grains
      DrawDots(p, s,
               {{1, 2}, {6, 0}, {11, 3}, {3, 7}, {9, 8}, {14, 9}, {0, 12}, {6, 13}, {12, 14}});
      break;
    case 8:  // gravel: small open pebbles
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(Qt::black, std::max(1.0, s)));
      p.drawEllipse(QPointF(4 * s, 4 * s), 2.5 * s, 2 * s);
      p.drawEllipse(QPointF(12 * s, 11 * s), 2.5 * s, 2 * s);
      break;
    case 9:  // silt: short dashes in staggered rows
      p.setPen(QPen(Qt::black, std::max(1.0, s)));
      p.drawLine(QPointF(1 * s, 3.5 * s), QPointF(6 * s, 3.5 * s));
      p.drawLine(QPointF(9 * s, 11.5 * s), QPointF(14 * s, 11.5 * s));
      break;
    case 10:  // rock: brick courses
      p.setPen(QPen(Qt::black, std::max(1.0, s)));
      p.drawLine(QPointF(0, 0.5 * s), QPointF(16 * s, 0.5 * s));
      p.drawLine(QPointF(0, 8.5 * s), QPointF(16 * s, 8.5 * s));
      p.drawLine(QPointF(0.5 * s, 0), QPointF(0.5 * s, 8 * s));
      p.drawLine(QPointF(8.5 * s, 8 * s), QPointF(8.5 * s, 16 * s));
      break;
    case 11:  // silty sand: grains and dashes
      DrawDots(p, s, {{2, 2}, {10, 6}, {5, 13}});
      p.setPen(QPen(Qt::black, std::max(1.0, s)));
      p.drawLine(QPointF(9 * s, 1.5 * s), QPointF(14 * s, 1.5 * s));
      p.drawLine(QPointF(1 * s, 9.5 * s), QPointF(6 * s, 9.5 * s));
      break;
    default:  // organic: tufts
      p.setPen(QPen(Qt::black, std::max(1.0, s)));
      p.drawLine(QPointF(2 * s, 6 * s), QPointF(4 * s, 3 * s));
      p.drawLine(QPointF(4 * s, 3 * s), QPointF(6 * s, 6 * s));
      p.drawLine(QPointF(10 * s, 14 * s), QPointF(12 * s, 11 * s));
      p.drawLine(QPointF(12 * s, 11 * s), QPointF(14 * s, 14 * s));
      break;
  }
}

const QImage& Tile(int code, int pixelsPerInch) {
  static std::map<std::pair<int, int>, QImage> tiles;
  const auto key = std::make_pair(code, pixelsPerInch);
  auto found = tiles.find(key);
  if (found != tiles.end()) return found->second;
  const double s = std::max(1.0, pixelsPerInch / kScreenPixelsPerInch);
  const int size = static_cast<int>(std::lround(kTileCell * s));
  QImage tile(size, size, QImage::Format_RGB32);
  tile.fill(Qt::white);
  QPainter painter(&tile);
  painter.setRenderHint(QPainter::Antialiasing, s > 1);
  DrawTile(painter, code, s);
  painter.end();
  return tiles.emplace(key, std::move(tile)).first->second;
}

}  // namespace

QFont SerifFont(int pixels, bool bold) {
  QFont font(QStringLiteral("Liberation Serif"));
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(std::max(pixels, 1));
  font.setBold(bold);
  return font;
}

QBrush LayerBrush(long double code, int pixelsPerInch) {
  if (code != std::floor(code) || code < 1 || code > 12) return Qt::NoBrush;
  const int pattern = static_cast<int>(code);
  if (pattern >= 7) return QBrush(Tile(pattern, pixelsPerInch));
  static constexpr Qt::BrushStyle hatches[] = {Qt::BDiagPattern, Qt::FDiagPattern,
                                               Qt::CrossPattern, Qt::DiagCrossPattern,
                                               Qt::HorPattern,   Qt::VerPattern};
  QBrush brush(Qt::black, hatches[pattern - 1]);
  // Hatch lines are pixels apart; on fine devices they are spread out to the
  // spacing they have on the screen.
  const int scale =
      std::max(1, static_cast<int>(std::lround(pixelsPerInch / kScreenPixelsPerInch)));
  if (scale > 1) brush.setTransform(QTransform::fromScale(scale, scale));
  return brush;
}

}  // namespace korvan
