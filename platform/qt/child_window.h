// Child windows of the main window: table editors, property windows, graph
// windows and the side view. The main window registers its MDI area, and each
// child window is then shown in a subwindow of it; without an area (tests,
// headless tools) a child window is a top-level window of its own.
//
// A child window frees itself when it closes (the subwindow or the window is
// deleted on close), and learns when it becomes or stops being the active
// window in either setting, so that it can refresh its fields from the
// project and store them back.
#pragma once

#include <QPointer>
#include <QWidget>

class QMdiArea;
class QMdiSubWindow;

namespace korvan::platform {

void SetChildWindowArea(QMdiArea* area);
QMdiArea* ChildWindowArea();

class TChildWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TChildWindow(QWidget* parent = nullptr);
  ~TChildWindow() override;

  // Shows the window (in a new subwindow of the registered area on the first
  // call), restores it when minimised and makes it the active window.
  void ShowChild(bool maximised = false);
  // The frame the user sees: the subwindow, or the window itself.
  QWidget* Frame();
  bool IsActiveChild() const { return fActive; }

  // Stores what the user left in the window into its data, as leaving the
  // window would; false when an entry is refused (the window keeps it).
  // The main window calls it before a command reads the project.
  virtual bool CommitEdits() { return true; }

 signals:
  void activated();
  void deactivated();

 protected:
  // Refresh and store steps, run when the window becomes or stops being
  // the active window.
  virtual void FormActivate() {}
  virtual void FormDeactivate() {}

  void changeEvent(QEvent* event) override;

 private:
  void SetActive(bool active);

  // The subwindow, held as a plain widget: this window is destroyed from
  // within the subwindow's destructor, when it is no longer a QMdiSubWindow.
  QPointer<QWidget> fSubWindow;
  bool fActive = false;
};

}  // namespace korvan::platform
