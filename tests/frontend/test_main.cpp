// One QApplication for every front-end test. A message that reaches the
// platform layer while no test is watching for it fails the running test
// instead of opening a modal box.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "platform/messages.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The widgets expect the "C" number format unless a test says otherwise.
  std::setlocale(LC_NUMERIC, "C");
  korvan::platform::SetMessageHandler(
      [](const std::string& text) { ADD_FAILURE() << "unexpected message: " << text; });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
