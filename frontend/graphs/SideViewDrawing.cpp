#include "graphs/SideViewDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <cmath>

#include "model/NumberFormat.h"

namespace korvan {

namespace {

constexpr int kLabelDigits = 15;
// Ground ticks on the screen: every 20 pixels, 5 pixels down and across,
// none within 25 pixels of the right edge.
constexpr int kTickSpacing = 20;
constexpr int kTickSize = 5;
constexpr int kTickEndMargin = 25;
// The printed page.
constexpr int kPagePenWidth = 12;
constexpr int kPageTicks = 10;

int Round(double value) {
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace

bool IsSandLayer(int soilType) {
  return soilType == 2 || soilType == 4 || soilType == 6;
}

QColor LayerHatchColor(int soilType) {
  return IsSandLayer(soilType) ? QColor(192, 192, 192) : QColor(128, 128, 0);
}

QString LayerLabel(double top, double bottom, int soilType) {
  return QStringLiteral("depth= ") + FormatGeneral(top, kLabelDigits) + QStringLiteral(" - ") +
         FormatGeneral(bottom, kLabelDigits) +
         (IsSandLayer(soilType) ? QStringLiteral("; Sand") : QStringLiteral("; Clay"));
}

void DrawSideView(QPainter& painter, QSize client, const TSideViewGeometry& geometry,
                  const TPileProfile& profile, bool omitHatches, const TSideViewColors& colors) {
  if (geometry.NoDraw) return;
  const int width = client.width();
  const int height = client.height();
  painter.fillRect(QRect(QPoint(0, 0), client), colors.Window);
  auto y = [&](double depth) { return geometry.ScreenY(depth, height); };
  const int textHeight = QFontMetrics(painter.font()).height();

  // Bands first, so that every boundary drawn after them stays visible.
  double top = 0;
  for (const TSoilBand& layer : profile.Layers) {
    const QRect band(0, y(top), width, y(layer.Bottom) - y(top));
    if (omitHatches)
      painter.fillRect(band, Qt::white);
    else
      painter.fillRect(band,
                       QBrush(LayerHatchColor(layer.SoilType),
                              IsSandLayer(layer.SoilType) ? Qt::VerPattern : Qt::BDiagPattern));
    top = layer.Bottom;
  }
  painter.setPen(colors.WindowText);
  top = 0;
  for (const TSoilBand& layer : profile.Layers) {
    painter.drawLine(0, y(layer.Bottom), width, y(layer.Bottom));
    // The project has no switch for round piles: every layer is labelled.
    painter.drawText(QRect(0, y(top) + textHeight, width, textHeight), Qt::AlignLeft | Qt::AlignTop,
                     LayerLabel(top, layer.Bottom, layer.SoilType));
    top = layer.Bottom;
  }
  if (!profile.Layers.empty()) {
    const int ground = y(0);
    painter.drawLine(0, ground, width, ground);
    for (int x = kTickSpacing; x < width - kTickEndMargin; x += kTickSpacing)
      painter.drawLine(x, ground, x + kTickSize, ground + kTickSize);
  }

  painter.setPen(Qt::NoPen);
  painter.setBrush(colors.WindowText);
  for (const TPileOutline& pile : geometry.DataG) {
    auto at = [&](const TSidePoint& p) {
      return QPoint(geometry.ScreenX(p.x, width), geometry.ScreenY(p.y, height));
    };
    painter.drawPolygon(
        QPolygon({at(pile.TopLeft), at(pile.TopRight), at(pile.BottomRight), at(pile.BottomLeft)}));
  }
  painter.setBrush(Qt::NoBrush);
}

void DrawSideViewPage(QPainter& painter, QSize page, const TPileProfile& profile, const QFont& font,
                      const TSideViewColors& colors) {
  const double w = page.width();
  const double h = page.height();
  painter.fillRect(QRect(Round(0.1 * w), Round(0.1 * h), Round(0.8 * w), Round(0.8 * h)),
                   colors.Window);
  if (profile.Layers.empty()) return;
  const double d = profile.Layers.back().Bottom;
  if (!(d > 0) || !std::isfinite(d)) return;  // nothing to scale the depths to

  painter.setFont(font);
  painter.setPen(QPen(colors.WindowText, kPagePenWidth));
  const int textHeight = QFontMetrics(painter.font(), painter.device()).height();
  auto y = [&](double depth) { return Round(depth / d * 0.8 * h + 0.1 * h); };
  const int left = Round(0.1 * w);
  const int right = Round(0.9 * w);
  double top = 0;
  for (size_t i = 0; i < profile.Layers.size(); ++i) {
    const TSoilBand& layer = profile.Layers[i];
    painter.drawLine(left, y(layer.Bottom), right, y(layer.Bottom));
    if (i == 0) {
      const int ground = y(0);
      painter.drawLine(left, ground, right, ground);
      for (int k = 1; k <= kPageTicks; ++k)
        painter.drawLine(Round(0.35 * h + 50 * k), ground, Round(0.365 * h + 50 * k), ground + 70);
    }
    const int labelLeft = Round(0.15 * h);
    painter.drawText(QRect(labelLeft, y(top) + textHeight, page.width() - labelLeft, textHeight),
                     Qt::AlignLeft | Qt::AlignTop, LayerLabel(top, layer.Bottom, layer.SoilType));
    top = layer.Bottom;
  }

  // The pile stands where its head is, as on the screen.
  const int pileTop = y(profile.HeadCoord);
  const int length = Round(profile.PLength / d * 0.8 * h);
  const int halfWidth = Round(PileDrawnWidth(profile) / d * 0.8 * h) / 2;
  const int centre = Round(w / 2);
  if (halfWidth > 0 && length > 0)
    painter.fillRect(QRect(centre - halfWidth, pileTop, 2 * halfWidth, length), colors.WindowText);
}

}  // namespace korvan
