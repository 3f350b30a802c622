// The side view drawn on the screen and on a printed page.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include "graphs/PileProfile.h"
#include "graphs/SideViewGeometry.h"

class QPainter;

namespace korvan {

// Sand layers (types 2, 4, 6) are hatched with vertical lines in silver,
// every other type as clay with backward diagonals in olive.
bool IsSandLayer(int soilType);
QColor LayerHatchColor(int soilType);

// "depth= 0 - 120; Clay": the label of a layer from `top` to `bottom`.
QString LayerLabel(double top, double bottom, int soilType);

struct TSideViewColors {
  QColor Window = Qt::white;
  QColor WindowText = Qt::black;
};

// The view on a client area of `client` pixels: background, layer bands with
// their boundaries and labels, the ground line with its ticks, and the pile.
// Nothing is drawn when the geometry says NoDraw.
void DrawSideView(QPainter& painter, QSize client, const TSideViewGeometry& geometry,
                  const TPileProfile& profile, bool omitHatches, const TSideViewColors& colors);

// The profile on a page of `page` pixels: the drawing area from 10 % to 90 %
// of the page, depths scaled to the bottom of the last layer, layers not
// hatched. A profile without layers prints the empty drawing area.
void DrawSideViewPage(QPainter& painter, QSize page, const TPileProfile& profile, const QFont& font,
                      const TSideViewColors& colors);

}  // namespace korvan
