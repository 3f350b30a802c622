// A session of the real main window that ends without closing: it opens the
// project named by its argument, types a new total pile length into the
// pile-properties window, moves on to the title window (which stores the
// length), prints "edited" and runs until it is killed. The recovery test
// kills it once its recovery copy is written, as a crash or a power cut
// would end it.
#include <QApplication>
#include <QTest>
#include <cstdio>

#include "app/MainForm.h"
#include "app/PilePropertiesForm.h"
#include "components/DataEdit.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 3) {
    std::fprintf(stderr, "usage: interrupted_session PROJECT LENGTH\n");
    return 64;
  }
  korvan::TMainForm window;
  window.FormShow({arguments[1]});
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  window.Actions().DataPile->trigger();
  korvan::TDataEdit* length = korvan::TPilePropertiesForm::Instance()->LengthEdit();
  length->setFocus();
  length->selectAll();
  QTest::keyClicks(length, arguments[2]);
  window.Actions().DataTitle->trigger();
  QApplication::processEvents();
  std::printf("edited\n");
  std::fflush(stdout);
  return QApplication::exec();
}
