#include "text_editor.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "message_box.h"

namespace korvan::platform {

namespace {
QString gCommand;
}

void SetTextEditorCommand(const QString& command) {
  gCommand = command;
}

QString TextEditorCommand() {
  return gCommand;
}

bool OpenInTextEditor(const QString& path) {
  const bool started = gCommand.isEmpty() ? QDesktopServices::openUrl(QUrl::fromLocalFile(path))
                                          : QProcess::startDetached(gCommand, {path});
  if (!started) ShowInformation(QStringLiteral("An error occurred in running the Word Processor"));
  return started;
}

}  // namespace korvan::platform
