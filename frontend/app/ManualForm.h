// The manuals: opened in the desktop's PDF viewer where one is set up, else
// in a window of the program; a manual that is not installed, or that
// cannot be read, is named in a message.
#pragma once

#include <QString>
#include <functional>

#include "platform/qt/child_window.h"

class QLabel;
class QPdfDocument;
class QPdfView;

namespace korvan {

// The manual window, formerly TManualWindow.
class TManualForm : public platform::TChildWindow {
  Q_OBJECT

 public:
  // Loads `path`; Loaded() tells whether it could be read.
  explicit TManualForm(const QString& path);

  bool Loaded() const { return fLoaded; }
  QString Error() const { return fError; }
  QPdfDocument* Document() const { return fDocument; }
  QPdfView* View() const { return fView; }

 private:
  QPdfDocument* fDocument;
  QPdfView* fView;
  QLabel* fPages;
  bool fLoaded = false;
  QString fError;
};

// Starts the desktop's viewer for a PDF file; false when none is set up or
// it cannot be started. Tests replace it.
using TExternalViewer = std::function<bool(const QString& path)>;
TExternalViewer& ExternalPdfViewer();

// Shows the manual `path`: in the desktop's viewer, else in a manual
// window. False when it is shown nowhere (a message has said why).
bool ShowManual(const QString& path);

}  // namespace korvan
