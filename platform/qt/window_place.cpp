#include "platform/qt/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace korvan::platform {

QRect FitWithin(const QRect& window, const QRect& available) {
  if (!available.isValid()) return window;
  const QSize size(std::min(window.width(), available.width()),
                   std::min(window.height(), available.height()));
  const int x = std::clamp(window.x(), available.left(), available.right() + 1 - size.width());
  const int y = std::clamp(window.y(), available.top(), available.bottom() + 1 - size.height());
  return QRect(QPoint(x, y), size);
}

void KeepOnScreen(QWidget& window) {
  if (window.isMaximized() || window.isFullScreen()) return;
  QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
  if (screen == nullptr) screen = window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // The frame is known once the window is shown; before, it is taken as
  // none and the window manager adds it within the screen.
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
  const QRect fitted = FitWithin(frame, screen->availableGeometry());
  window.setGeometry(fitted.marginsRemoved(margins));
}

}  // namespace korvan::platform
