#include "message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "messages.h"

namespace korvan::platform {

void ShowInformation(const QString& text) {
  if (HasMessageHandler()) {
    ShowMessage(text.toStdString());
    return;
  }
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

}  // namespace korvan::platform
