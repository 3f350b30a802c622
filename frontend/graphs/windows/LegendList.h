// The legend of a graph window: a small list of the active lines, each in
// its line's colour on white and marked " *" while its line is visible. The
// user drags it anywhere inside the window and double-clicks an entry to
// switch its line on or off.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

namespace korvan {

class TLegendList : public QWidget {
  Q_OBJECT

 public:
  struct TItem {
    QString Text;
    bool Visible = true;
  };

  explicit TLegendList(QWidget* parent = nullptr);

  int Count() const { return static_cast<int>(fItems.size()); }
  const TItem& Item(int index) const { return fItems.at(static_cast<size_t>(index)); }
  void SetItems(std::vector<TItem> items);
  // The text an entry shows: its name, followed by " *" while visible.
  QString ShownText(int index) const;

  int ItemHeight() const { return fItemHeight; }
  void SetItemHeight(int height);
  // Entry index at a point of the widget, or -1.
  int ItemAt(QPoint point) const;

  // Resizes to hold every entry: entries x entry height + 3 pixels high, the
  // widest name with " *" plus `extraWidth` wide, at least `minWidth`.
  void FitSize(int extraWidth, int minWidth = 0);
  // Moves back inside the parent's client area, or inside `room` (in the
  // parent's coordinates) when the legend fits in it.
  void KeepInside();
  void KeepInside(const QRect& room);

 signals:
  void entryDoubleClicked(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  std::vector<TItem> fItems;
  int fItemHeight = 16;
  bool fDragLegend = false;
  QPoint fDragPoint;
};

}  // namespace korvan
