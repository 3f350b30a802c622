#include "platform/qt/text_editor.h"

#include <QProcess>

#include "platform/qt/text_viewer.h"

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
  if (gCommand.isEmpty()) return ShowTextFile(path);
  if (QProcess::startDetached(gCommand, {path})) return true;
  // The file is shown all the same, with the reason it is shown here.
  return ShowTextFile(path, QStringLiteral("An error occurred in running the Word Processor "
                                           "(\"%1\" could not be started); the file is shown "
                                           "here instead.")
                                .arg(gCommand));
}

}  // namespace korvan::platform
