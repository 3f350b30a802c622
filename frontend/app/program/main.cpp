// KORVAN2021: the desktop program. Opens the data file named on the command
// line, or a new project, in the main window.
#include <QApplication>
#include <QIcon>

#include "app/MainForm.h"
#include "platform/messages.h"
#include "platform/qt/message_box.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The platform layer's messages (the engine library's loading errors)
  // are shown in boxes like the program's own.
  korvan::platform::SetMessagePresenter(korvan::platform::ShowMessageInBox);
  QApplication::setApplicationName(QStringLiteral("KORVAN 2020"));
  // The desktop entry "korvan.desktop" and its icon: the desktop shows the
  // running program under them.
  QApplication::setDesktopFileName(QStringLiteral("korvan"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/korvan.svg")));
  korvan::TMainForm window;
  window.FormShow(QApplication::arguments().mid(1));
  window.show();
  return QApplication::exec();
}
