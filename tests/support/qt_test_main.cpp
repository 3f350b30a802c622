// The main of every Qt test program: one application object (a widget
// application where the tests show windows, KORVAN_TEST_WIDGETS; else a GUI
// application, so that the model and the drawing are tested without the
// widget library). A message that reaches the platform layer while no test
// is watching for it fails the running test instead of opening a modal box.
#include <gtest/gtest.h>

#include <clocale>
#ifdef KORVAN_TEST_WIDGETS
#include <QApplication>
using TTestApplication = QApplication;
#else
#include <QGuiApplication>
using TTestApplication = QGuiApplication;
#endif

#include "platform/messages.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TTestApplication app(argc, argv);
  // The widgets expect the "C" number format unless a test says otherwise.
  std::setlocale(LC_NUMERIC, "C");
  korvan::platform::SetMessageHandler(
      [](const std::string& text) { ADD_FAILURE() << "unexpected message: " << text; });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
