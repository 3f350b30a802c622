// KORVAN2021: the desktop program. Opens the data file named on the command
// line, or a new project, in the main window.
#include "Main.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
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
