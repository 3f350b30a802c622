#include "components/DataEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "model/EntryEvaluator.h"
#include "model/NumberFormat.h"
#include "model/Units.h"
#include "platform/qt/message_box.h"

namespace korvan {

namespace {

constexpr int kDisplayDigits = 8;
constexpr long double kIntegerLow = -2147483648.0L;
constexpr long double kIntegerHigh = 2147483647.0L;

// Typed onto a wholly selected number, these keys extend it instead.
bool IsOperatorKey(const QString& text) {
  return text.size() == 1 && QStringLiteral("+-/*^=%!").contains(text[0]);
}

}  // namespace

TDataEdit::TDataEdit(QWidget* parent) : QLineEdit(QStringLiteral("0"), parent) {}

void TDataEdit::SetCaption(const QString& caption) {
  fCaption = caption;
  RefreshLabel();
}

void TDataEdit::SetIntegerOnly(bool integerOnly) {
  fIntegerOnly = integerOnly;
  if (integerOnly && !fLoading) {
    SetMaxVal(fMaxVal);
    SetMinVal(fMinVal);
  }
}

void TDataEdit::SetEditLabel(QLabel* label) {
  fEditLabel = label;
  if (label != nullptr) label->setBuddy(this);
  RefreshLabel();
}

void TDataEdit::SetMinVal(long double value) {
  if (fLoading) {
    fMinVal = value;
    return;
  }
  value = std::min(value, fMaxVal);
  if (fIntegerOnly) value = std::clamp(value, kIntegerLow, kIntegerHigh);
  fMinVal = value;
  try {
    if (Number() < fMinVal) SetNumber(fMinVal);
  } catch (const EAssignError&) {
    // An unevaluable text stays for the exit check to report.
  }
}

void TDataEdit::SetMaxVal(long double value) {
  if (fLoading) {
    fMaxVal = value;
    return;
  }
  value = std::max(value, fMinVal);
  if (fIntegerOnly) value = std::clamp(value, kIntegerLow, kIntegerHigh);
  fMaxVal = value;
  try {
    if (Number() > fMaxVal) SetNumber(fMaxVal);
  } catch (const EAssignError&) {
    // As above.
  }
}

long double TDataEdit::Number() const {
  return EvaluateEntry(text());
}

void TDataEdit::SetNumber(long double value) {
  if (!fLoading) value = std::clamp(value, fMinVal, fMaxVal);
  setText(FormatGeneral(value, kDisplayDigits));
}

void TDataEdit::SetUnitsString(const QString& code) {
  fUnitsString = code;
  RefreshLabel();
}

void TDataEdit::SetUnits(int system) {
  fUnits = std::clamp(system, 1, 3);
  RefreshLabel();
}

bool TDataEdit::CloseQuery() {
  DoExit();
  return fOK;
}

void TDataEdit::Evaluate() {
  DoExit();
}

void TDataEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Switching windows or opening a menu does not leave the field.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
    return;
  }
  DoExit();
}

void TDataEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    DoExit();
    selectAll();
    event->accept();
    return;
  }
  if (IsOperatorKey(event->text()) && hasSelectedText() && selectedText() == text()) {
    deselect();
    setCursorPosition(static_cast<int>(text().size()));
  }
  QLineEdit::keyPressEvent(event);
}

void TDataEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) RefreshLabel();
}

void TDataEdit::DoExit() {
  if (fChecking) return;
  fChecking = true;
  fOK = false;
  QString message;
  try {
    const long double value = EvaluateEntry(text());
    if (fIntegerOnly && value != std::trunc(value)) {
      message = QStringLiteral("Entry must be an integer.");
    } else if (value < fMinVal) {
      SetNumber(fMinVal);
      message = QStringLiteral("Entry must be greater than or equal to ") +
                FormatGeneral(fMinVal, kDisplayDigits);
    } else if (value > fMaxVal) {
      SetNumber(fMaxVal);
      message = QStringLiteral("Entry must be less than or equal to ") +
                FormatGeneral(fMaxVal, kDisplayDigits);
    } else {
      setText(FormatGeneral(value, kDisplayDigits));
      fOK = true;
    }
  } catch (const EAssignError& error) {
    message = fIntegerOnly ? QStringLiteral("Entry must be a valid integer.") : error.Message();
  }
  if (!fOK) ShowCheckMessage(message);
  fChecking = false;
  emit Exit(fOK);
}

void TDataEdit::ShowCheckMessage(const QString& message) {
  platform::ShowInformation(message);
  if (isVisible() && window() != this) setFocus(Qt::OtherFocusReason);
}

void TDataEdit::RefreshLabel() {
  if (fEditLabel == nullptr) return;
  if (fUnitsString.isEmpty()) {
    fEditLabel->setText(fCaption);
  } else {
    fEditLabel->setText(fCaption + QStringLiteral(" (") + EditUnitsText(fUnitsString, fUnits) +
                        QStringLiteral(")"));
  }
  fEditLabel->setEnabled(isEnabled());
}

}  // namespace korvan
