#include "app/PropertyForm.h"

#include <QCloseEvent>
#include <QTimer>
#include <utility>

#include "components/DataEdit.h"
#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"

namespace korvan {

TPropertyForm::TPropertyForm(QWidget* parent) : TChildWindow(parent) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

void TPropertyForm::Refresh() {
  RefreshFields();
  RememberFieldTexts();
}

void TPropertyForm::RememberFieldTexts() {
  fFieldTexts.clear();
  for (const TDataEdit* field : findChildren<TDataEdit*>()) fFieldTexts[field] = field->text();
}

long double TPropertyForm::FieldValue(const TDataEdit& field, long double current) const {
  const auto shown = fFieldTexts.find(&field);
  if (shown != fFieldTexts.end() && shown->second == field.text()) return current;
  return field.Number();
}

void TPropertyForm::MarkProjectChanged() {
  if (ProgramData) ProgramData->Tables().SetDataChanged(true);
}

bool TPropertyForm::CommitEdits() {
  return Commit(false);
}

void TPropertyForm::WatchField(TDataEdit& field) {
  connect(&field, &TDataEdit::Exit, this, [this, edit = &field](bool ok) {
    fLastVerdict = {edit, edit->text(), ok};
  });
}

bool TPropertyForm::FocusedFieldAccepts(bool reuseVerdict) {
  const TVerdict verdict = std::exchange(fLastVerdict, {});
  auto* field = qobject_cast<TDataEdit*>(focusWidget());
  if (!field || !field->isEnabled()) return true;
  if (reuseVerdict && verdict.field == field && verdict.text == field->text()) return verdict.ok;
  const bool ok = field->CloseQuery();
  fLastVerdict = {};
  return ok;
}

bool TPropertyForm::Commit(bool reuseVerdict) {
  fStorePending = false;
  if (!FocusedFieldAccepts(reuseVerdict)) {
    QPointer<QWidget> field = focusWidget();
    if (!IsActiveChild()) {
      fShowingAgain = true;
      ShowChild();
    }
    if (field) field->setFocus(Qt::OtherFocusReason);
    return false;
  }
  try {
    StoreFields();
  } catch (const EAssignError&) {
    return false;  // a field's text that does not evaluate: nothing was stored
  }
  RememberFieldTexts();
  return true;
}

void TPropertyForm::FormActivate() {
  // A store still pending from leaving the window runs first; when its
  // field refused, the window keeps the user's entry instead of refreshing.
  if (fStorePending && !Commit(true)) return;
  if (std::exchange(fShowingAgain, false)) return;
  Refresh();
}

// A refused entry's message must not open inside the activation change, so
// the store runs right after it.
void TPropertyForm::FormDeactivate() {
  fStorePending = true;
  QTimer::singleShot(0, this, &TPropertyForm::CommitPendingStore);
}

void TPropertyForm::CommitPendingStore() {
  if (fStorePending) Commit(true);
}

void TPropertyForm::closeEvent(QCloseEvent* event) {
  if (!Commit(false)) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace korvan
