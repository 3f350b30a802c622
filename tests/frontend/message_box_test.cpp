#include "message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "message_capture.h"

namespace korvan {
namespace {

TEST(ShowInformation, GoesToTheInstalledHandler) {
  testing::TMessageCapture messages;
  platform::ShowInformation(QStringLiteral("Entry must be an integer."));
  platform::ShowInformation(QString::fromUtf8("Area (in²)"));
  EXPECT_EQ(messages.Messages(),
            (std::vector<std::string>{"Entry must be an integer.", "Area (in²)"}));
}

TEST(ShowInformation, WithoutAHandlerShowsAModalBoxWithOneOkButton) {
  auto previous = platform::SetMessageHandler(nullptr);
  QString shownText;
  QMessageBox::StandardButtons shownButtons;
  QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
  // Looks at the box once it is up, then presses its OK button.
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shownText = box->text();
    shownButtons = box->standardButtons();
    shownIcon = box->icon();
    box->button(QMessageBox::Ok)->click();
  });
  // Should the box not be found, close whatever is modal so the test ends.
  QTimer fallback;
  fallback.setSingleShot(true);
  QObject::connect(&fallback, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  fallback.start(5000);
  platform::ShowInformation(QStringLiteral("Entry must be less than or equal to 500"));
  platform::SetMessageHandler(std::move(previous));

  EXPECT_EQ(shownText.toStdString(), "Entry must be less than or equal to 500");
  EXPECT_EQ(shownButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(shownIcon, QMessageBox::Information);
}

}  // namespace
}  // namespace korvan
