#include "platform/qt/child_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <vector>

#include "platform/qt/window_place.h"

namespace korvan {
namespace {

// Records its refresh and store steps.
class TRecordingWindow : public platform::TChildWindow {
 public:
  explicit TRecordingWindow(std::vector<std::string>& log, std::string name)
      : fLog(log), fName(std::move(name)) {}

 protected:
  void FormActivate() override { fLog.push_back(fName + " activate"); }
  void FormDeactivate() override { fLog.push_back(fName + " deactivate"); }

 private:
  std::vector<std::string>& fLog;
  std::string fName;
};

TEST(ChildWindow, InAnMdiAreaRefreshesAndStoresAsTheActiveSubwindowChangesAndFreesItselfOnClose) {
  QMdiArea area;
  area.resize(800, 600);
  area.show();
  area.activateWindow();
  platform::SetChildWindowArea(&area);
  std::vector<std::string> log;
  QPointer<TRecordingWindow> first = new TRecordingWindow(log, "first");
  QPointer<TRecordingWindow> second = new TRecordingWindow(log, "second");
  first->ShowChild();
  second->ShowChild();
  first->ShowChild();
  EXPECT_EQ(log, (std::vector<std::string>{"first activate", "first deactivate", "second activate",
                                           "second deactivate", "first activate"}));
  EXPECT_EQ(area.subWindowList().size(), 2);
  EXPECT_TRUE(first->IsActiveChild());
  EXPECT_TRUE(first->Frame() != first.data());

  first->Frame()->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(area.subWindowList().size(), 1);
  platform::SetChildWindowArea(nullptr);
  delete second->Frame();
  EXPECT_TRUE(second.isNull());
}

TEST(ChildWindow, WithoutAnAreaIsATopLevelWindowThatFreesItselfOnClose) {
  std::vector<std::string> log;
  QPointer<TRecordingWindow> window = new TRecordingWindow(log, "alone");
  window->ShowChild();
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->Frame(), window.data());
  window->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

}  // namespace
// Window places are kept within the screen's available area: shrunk when
// larger, moved when off it, left alone when inside.
TEST(WindowPlace, AWindowIsShrunkAndMovedIntoTheAvailableArea) {
  const QRect screen(0, 0, 800, 500);  // 1600 x 1000 at a scale factor of 2
  struct Case {
    QRect window;
    QRect fitted;
  };
  const Case cases[] = {
      {{100, 50, 400, 300}, {100, 50, 400, 300}},     {{0, 0, 900, 640}, {0, 0, 800, 500}},
      {{5000, 4000, 300, 200}, {500, 300, 300, 200}}, {{-400, -300, 300, 200}, {0, 0, 300, 200}},
      {{700, 450, 300, 200}, {500, 300, 300, 200}},   {{-50, 100, 1800, 1280}, {0, 0, 800, 500}},
  };
  for (const Case& c : cases) {
    const QRect fitted = platform::FitWithin(c.window, screen);
    EXPECT_EQ(fitted, c.fitted) << c.window.x() << "," << c.window.y();
    EXPECT_TRUE(screen.contains(fitted));
  }
  const QRect offset(1920, 30, 1280, 1000);  // a second screen below a panel
  EXPECT_EQ(platform::FitWithin({0, 0, 2000, 500}, offset), QRect(1920, 30, 1280, 500));
}

}  // namespace korvan
