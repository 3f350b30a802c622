#include "platform/qt/message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "platform/messages.h"
#include "support/message_capture.h"

namespace korvan {
namespace {

TEST(ShowInformation, GoesToTheInstalledHandler) {
  testing::TMessageCapture messages;
  platform::ShowInformation(QStringLiteral("Entry must be an integer."));
  platform::ShowInformation(QString::fromUtf8("Area (in²)"));
  EXPECT_EQ(messages.Messages(),
            (std::vector<std::string>{"Entry must be an integer.", "Area (in²)"}));
}

struct ShownBox {
  QString text;
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// What `show` puts up while no handler is installed; its OK button is then
// pressed.
ShownBox BoxShownBy(const std::function<void()>& show) {
  auto previous = platform::SetMessageHandler(nullptr);
  ShownBox shown;
  // Looks at the box once it is up, then presses its OK button.
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown = {box->text(), box->standardButtons(), box->icon()};
    box->button(QMessageBox::Ok)->click();
  });
  // Should the box not be found, close whatever is modal so the test ends.
  QTimer fallback;
  fallback.setSingleShot(true);
  QObject::connect(&fallback, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  fallback.start(5000);
  show();
  platform::SetMessageHandler(std::move(previous));
  return shown;
}

TEST(ShowInformation, WithoutAHandlerShowsAModalBoxWithOneOkButton) {
  const ShownBox shown = BoxShownBy(
      [] { platform::ShowInformation(QStringLiteral("Entry must be less than or equal to 500")); });
  EXPECT_EQ(shown.text.toStdString(), "Entry must be less than or equal to 500");
  EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(shown.icon, QMessageBox::Information);
}

// The desktop program's presenter: a message of the platform layer (the
// engine library missing) reaches the user in a box, never standard error.
TEST(ShowMessageInBox, PlatformMessagesReachTheUser) {
  auto previous = platform::SetMessagePresenter(platform::ShowMessageInBox);
  const ShownBox shown = BoxShownBy(
      [] { platform::ShowMessage("Error Loading Library, error code = 2\n/opt/x.so: missing"); });
  platform::SetMessagePresenter(std::move(previous));
  EXPECT_EQ(shown.text.toStdString(), "Error Loading Library, error code = 2\n/opt/x.so: missing");
  EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(shown.icon, QMessageBox::Information);
}

}  // namespace
}  // namespace korvan
