#include "graphs/windows/LegendList.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "model/GraphPlot.h"

namespace korvan {

namespace {

const QString kVisibleMark = QStringLiteral(" *");
constexpr int kTextIndent = 2;

}  // namespace

TLegendList::TLegendList(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(false);
  setCursor(Qt::SizeAllCursor);
}

void TLegendList::SetItems(std::vector<TItem> items) {
  fItems = std::move(items);
  update();
}

QString TLegendList::ShownText(int index) const {
  const TItem& item = Item(index);
  return item.Visible ? item.Text + kVisibleMark : item.Text;
}

void TLegendList::SetItemHeight(int height) {
  fItemHeight = std::max(height, 1);
  update();
}

int TLegendList::ItemAt(QPoint point) const {
  if (point.y() < 1) return -1;
  const int index = (point.y() - 1) / fItemHeight;
  return index < Count() ? index : -1;
}

void TLegendList::FitSize(int extraWidth, int minWidth) {
  const QFontMetrics metrics(font());
  int widest = 0;
  for (const TItem& item : fItems)
    widest = std::max(widest, metrics.horizontalAdvance(item.Text + kVisibleMark));
  resize(std::max(widest + extraWidth, minWidth), Count() * fItemHeight + 3);
}

void TLegendList::KeepInside() {
  const QWidget* area = parentWidget();
  if (area == nullptr) return;
  const int x = std::clamp(pos().x(), 0, std::max(0, area->width() - width()));
  const int y = std::clamp(pos().y(), 0, std::max(0, area->height() - height()));
  move(x, y);
}

void TLegendList::KeepInside(const QRect& room) {
  if (width() > room.width() || height() > room.height()) return KeepInside();
  move(std::clamp(pos().x(), room.left(), room.right() + 1 - width()),
       std::clamp(pos().y(), room.top(), room.bottom() + 1 - height()));
}

void TLegendList::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const QFontMetrics metrics(font());
  for (int i = 0; i < Count(); ++i) {
    painter.setPen(LineColor(i));
    const QRect row(kTextIndent, 1 + i * fItemHeight, width() - kTextIndent, fItemHeight);
    painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, ShownText(i));
  }
}

void TLegendList::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  fDragLegend = true;
  fDragPoint = event->position().toPoint();
}

void TLegendList::mouseMoveEvent(QMouseEvent* event) {
  if (!fDragLegend) return QWidget::mouseMoveEvent(event);
  move(pos() + event->position().toPoint() - fDragPoint);
  KeepInside();
}

void TLegendList::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) fDragLegend = false;
  QWidget::mouseReleaseEvent(event);
}

void TLegendList::mouseDoubleClickEvent(QMouseEvent* event) {
  fDragLegend = false;
  const int index = ItemAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && index >= 0) emit entryDoubleClicked(index);
}

}  // namespace korvan
