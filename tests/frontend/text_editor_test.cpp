#include "text_editor.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "message_capture.h"

namespace korvan {
namespace {

QString ReadWhenWritten(const QString& path) {
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired()) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.size() > 0) return QString::fromUtf8(file.readAll());
    QThread::msleep(20);
  }
  return QString();
}

// The editor gets the path as its one argument: quotes, blanks and ";" in
// it reach no shell.
TEST(TextEditor, StartsTheChosenProgramWithThePathAsItsOnlyArgument) {
  QTemporaryDir folder;
  const QString record = folder.filePath(QStringLiteral("arguments"));
  const QString editor = folder.filePath(QStringLiteral("editor"));
  QFile script(editor);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(
      QStringLiteral("#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '%1'\n").arg(record).toUtf8());
  script.close();
  script.setPermissions(script.permissions() | QFileDevice::ExeOwner);

  const QString path = folder.filePath(QStringLiteral("pile \"1\"; touch hacked.kv4o"));
  platform::SetTextEditorCommand(editor);
  EXPECT_TRUE(platform::OpenInTextEditor(path));
  EXPECT_EQ(ReadWhenWritten(record), QStringLiteral("1|") + path + QStringLiteral("|"));
  EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("hacked.kv4o"))));

  testing::TMessageCapture messages;
  platform::SetTextEditorCommand(folder.filePath(QStringLiteral("no such editor")));
  EXPECT_FALSE(platform::OpenInTextEditor(path));
  EXPECT_EQ(messages.Messages(),
            std::vector<std::string>{"An error occurred in running the Word Processor"});
  platform::SetTextEditorCommand(QString());
}

}  // namespace
}  // namespace korvan
