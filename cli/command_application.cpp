#include "cli/command_application.h"

#include <QGuiApplication>

namespace korvan {

TCommandApplication::TCommandApplication(TKind kind) {
  if (kind == TKind::kGui) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    fApplication = std::make_unique<QGuiApplication>(fArgc, fArgv);
  } else {
    fApplication = std::make_unique<QCoreApplication>(fArgc, fArgv);
  }
}

TCommandApplication::~TCommandApplication() = default;

}  // namespace korvan
