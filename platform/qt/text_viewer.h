// The program's own read-only window for a text file (the report, the run
// notes, the project file), used when no text editor is chosen or the
// chosen one cannot be started: the text in a fixed-pitch font, with find,
// print and save as.
#pragma once

#include <QString>

#include "platform/qt/child_window.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace korvan::platform {

class TTextViewer : public TChildWindow {
  Q_OBJECT

 public:
  // Shows `text` read from `path`; `note`, when not empty, stands above it.
  TTextViewer(const QString& path, const QString& text, const QString& note);

  QPlainTextEdit* Text() const { return fText; }
  QLineEdit* FindEdit() const { return fFind; }
  QLabel* Note() const { return fNote; }
  const QString& Path() const { return fPath; }

  // Selects the next (or previous) match of the find text after the cursor,
  // from the other end when there is none; false when there is no match.
  bool FindNext(bool backwards = false);
  // Writes the text to `fileName` through a temporary file; false, with a
  // message, when it cannot.
  bool SaveAs(const QString& fileName);
  void PrintClick();
  void SaveAsClick();

 private:
  QString fPath;
  QPlainTextEdit* fText;
  QLineEdit* fFind;
  QLabel* fNote;
};

// Opens `path` in a viewer window; false, with a message naming the file
// and why, when the file cannot be read.
bool ShowTextFile(const QString& path, const QString& note = QString());

}  // namespace korvan::platform
