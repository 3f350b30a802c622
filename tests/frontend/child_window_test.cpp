#include "child_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <vector>

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
}  // namespace korvan
