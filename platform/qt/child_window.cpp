#include "platform/qt/child_window.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace korvan::platform {
namespace {
QPointer<QMdiArea> gArea;
}

void SetChildWindowArea(QMdiArea* area) {
  gArea = area;
}
QMdiArea* ChildWindowArea() {
  return gArea;
}

TChildWindow::TChildWindow(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
}

TChildWindow::~TChildWindow() {
  // A subwindow that outlives this window must not report state changes to
  // a half-destroyed object.
  if (fSubWindow) fSubWindow->disconnect(this);
}

void TChildWindow::ShowChild(bool maximised) {
  if (!fSubWindow && gArea && parentWidget() == nullptr) {
    QMdiSubWindow* subWindow = gArea->addSubWindow(this);
    fSubWindow = subWindow;
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    connect(subWindow, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates, Qt::WindowStates now) {
              SetActive(now.testFlag(Qt::WindowActive));
            });
  }
  QWidget* frame = Frame();
  if (frame->isMinimized()) frame->showNormal();
  if (maximised && fSubWindow && !frame->isVisible()) {
    // A window first shown maximised has no size of its own, and the area
    // restores it when another window takes the maximised place: give it
    // two thirds of the area (or its own hint, when larger) to return to.
    frame->resize(frame->sizeHint().expandedTo(gArea->viewport()->size() * 2 / 3));
  }
  if (maximised)
    frame->showMaximized();
  else
    frame->show();
  if (fSubWindow)
    gArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(fSubWindow.data()));
  else {
    raise();
    activateWindow();
  }
}

QWidget* TChildWindow::Frame() {
  return fSubWindow ? fSubWindow.data() : this;
}

void TChildWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && !fSubWindow && isWindow())
    SetActive(isActiveWindow());
  QWidget::changeEvent(event);
}

void TChildWindow::SetActive(bool active) {
  if (active == fActive) return;
  fActive = active;
  if (active) {
    FormActivate();
    emit activated();
  } else {
    FormDeactivate();
    emit deactivated();
  }
}

}  // namespace korvan::platform
