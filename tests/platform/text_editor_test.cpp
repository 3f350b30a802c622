#include "platform/qt/text_editor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QThread>

#include "platform/qt/text_viewer.h"
#include "support/message_capture.h"

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

  platform::SetTextEditorCommand(QString());
}

// The viewers open as top-level windows in the tests; each is taken and
// freed.
std::vector<platform::TTextViewer*> TakeViewers() {
  std::vector<platform::TTextViewer*> viewers;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* viewer = qobject_cast<platform::TTextViewer*>(w)) viewers.push_back(viewer);
  return viewers;
}

// Without an editor, or when it cannot be started, the file is shown in the
// program's own window; a file that cannot be read is named in a message.
TEST(TextEditor, TheProgramShowsTheFileWhenNoEditorCan) {
  QTemporaryDir folder;
  const QString report = folder.filePath(QStringLiteral("pile.kv4o"));
  QFile file(report);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("  HEAD LOAD   SETTLEMENT\n  250.0       0.136\n");
  file.close();
  struct Case {
    QString editor;
    QString path;
    bool shown;
    QString note;     // start of the note above the text, empty for none
    QString message;  // start of the message, empty for none
  };
  const QString missingEditor = folder.filePath(QStringLiteral("no such editor"));
  const Case cases[] = {
      {QString(), report, true, QString(), QString()},
      {missingEditor, report, true, "An error occurred in running the Word Processor", QString()},
      {QString(), folder.filePath("missing.kv4o"), false, QString(), "The file "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.editor.toStdString() + " " + c.path.toStdString());
    testing::TMessageCapture messages;
    platform::SetTextEditorCommand(c.editor);
    EXPECT_EQ(platform::OpenInTextEditor(c.path), c.shown);
    const auto viewers = TakeViewers();
    ASSERT_EQ(viewers.size(), c.shown ? 1U : 0U);
    if (c.shown) {
      platform::TTextViewer* viewer = viewers.front();
      EXPECT_TRUE(viewer->Text()->isReadOnly());
      EXPECT_TRUE(viewer->Text()->font().fixedPitch() ||
                  QFontInfo(viewer->Text()->font()).fixedPitch());
      EXPECT_EQ(viewer->Text()->toPlainText(), "  HEAD LOAD   SETTLEMENT\n  250.0       0.136\n");
      EXPECT_EQ(viewer->Note()->isVisibleTo(viewer), !c.note.isEmpty());
      EXPECT_TRUE(viewer->Note()->text().startsWith(c.note));
      if (!c.editor.isEmpty()) EXPECT_TRUE(viewer->Note()->text().contains(c.editor));
    }
    for (auto* viewer : viewers) delete viewer->Frame();
    ASSERT_EQ(messages.Messages().size(), c.message.isEmpty() ? 0U : 1U);
    if (!c.message.isEmpty())
      EXPECT_TRUE(QString::fromStdString(messages.Messages().front()).startsWith(c.message));
  }
  platform::SetTextEditorCommand(QString());
}

TEST(TextViewer, FindsRoundTheEndAndSavesTheTextAs) {
  QTemporaryDir folder;
  platform::TTextViewer viewer(folder.filePath("a.kv4r"), "load 1\nsettlement\nload 2\n", "");
  viewer.FindEdit()->setText("load");
  struct Step {
    bool backwards;
    bool found;
    int line;  // of the selection
  };
  for (const Step& s :
       {Step{false, true, 0}, Step{false, true, 2}, Step{false, true, 0}, Step{true, true, 2}}) {
    EXPECT_EQ(viewer.FindNext(s.backwards), s.found);
    EXPECT_EQ(viewer.Text()->textCursor().blockNumber(), s.line);
    EXPECT_EQ(viewer.Text()->textCursor().selectedText(), "load");
  }
  viewer.FindEdit()->setText("absent");
  EXPECT_FALSE(viewer.FindNext());

  const QString copy = folder.filePath("copy.txt");
  EXPECT_TRUE(viewer.SaveAs(copy));
  QFile saved(copy);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), "load 1\nsettlement\nload 2\n");

  testing::TMessageCapture messages;
  EXPECT_FALSE(viewer.SaveAs(folder.filePath("no folder/copy.txt")));
  EXPECT_EQ(messages.Messages().size(), 1U);
}

}  // namespace
}  // namespace korvan
