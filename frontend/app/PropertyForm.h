// TPropertyForm: the base of the small windows that edit the project's
// scalar settings. Such a window copies the project's values into its
// fields when it becomes the active window (refresh) and stores its fields
// back when another window becomes active or it closes (store), so the
// project always holds what the user last left in a window. When the
// focused numeric field refuses its entry, nothing is stored and the window
// keeps (or gets back) the focus.
#pragma once

#include <QPointer>
#include <QString>
#include <map>

#include "platform/qt/child_window.h"

class QCloseEvent;

namespace korvan {

class TDataEdit;

class TPropertyForm : public platform::TChildWindow {
  Q_OBJECT

 public:
  explicit TPropertyForm(QWidget* parent = nullptr);

  // The store step, run by the main window before a command reads the
  // project: false, with the field's message, when the focused numeric
  // field refuses its entry.
  bool CommitEdits() override;
  // The refresh step.
  void Refresh();

 protected:
  virtual void RefreshFields() = 0;
  // Raises EAssignError, before anything is stored, when a field's text
  // does not evaluate.
  virtual void StoreFields() = 0;
  // Lets the window know the verdicts of the field's own checks (on leaving
  // it, on Enter), so that leaving the window does not report an entry twice.
  void WatchField(TDataEdit& field);
  // What a field gives back to the project: `current` while the field shows
  // the text the window last put there or stored, so that leaving a window
  // never rounds a value to its shown digits; else the field's number
  // (raises EAssignError when its text does not evaluate).
  long double FieldValue(const TDataEdit& field, long double current) const;
  // Marks the project changed: a store changed one of its values.
  static void MarkProjectChanged();

  void FormActivate() override;
  void FormDeactivate() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs the focused field's check; `reuseVerdict` takes the verdict of the
  // check that just ran for the same text instead of repeating it.
  bool FocusedFieldAccepts(bool reuseVerdict);
  bool Commit(bool reuseVerdict);
  void CommitPendingStore();

  struct TVerdict {
    QPointer<TDataEdit> field;
    QString text;
    bool ok = false;
  };
  // The fields' texts as the window last refreshed or stored them.
  void RememberFieldTexts();

  TVerdict fLastVerdict;
  std::map<const TDataEdit*, QString> fFieldTexts;
  bool fStorePending = false;
  bool fShowingAgain = false;
};

// The one window of class TForm: created on first use, shown on every use.
template <class TForm>
TForm* OpenSingleWindow(QPointer<TForm>& instance) {
  if (!instance) instance = new TForm;
  instance->ShowChild();
  return instance;
}

}  // namespace korvan
