// KORVAN2021: the desktop program. Opens the data file named on the command
// line, or a new project, in the main window.
#include "Main.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KORVAN 2020"));
  korvan::TMainForm window;
  window.FormShow(QApplication::arguments().mid(1));
  window.show();
  return QApplication::exec();
}
