// TDataEdit: the single-line numeric field of every dialog. The user types a
// number or an entry expression; leaving the field or pressing Enter
// evaluates it, checks it against the field's limits and rewrites the text.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>

#include "model/EntryEvaluator.h"

namespace korvan {

class TDataEdit : public QLineEdit {
  Q_OBJECT

 public:
  static constexpr long double kDefaultMaxVal = kEntryLimit;

  explicit TDataEdit(QWidget* parent = nullptr);

  const QString& Caption() const { return fCaption; }
  void SetCaption(const QString& caption);
  bool IntegerOnly() const { return fIntegerOnly; }
  void SetIntegerOnly(bool integerOnly);
  QLabel* EditLabel() const { return fEditLabel; }
  void SetEditLabel(QLabel* label);
  long double MinVal() const { return fMinVal; }
  void SetMinVal(long double value);
  long double MaxVal() const { return fMaxVal; }
  void SetMaxVal(long double value);
  // The evaluated text; raises EAssignError when it does not evaluate.
  long double Number() const;
  void SetNumber(long double value);
  const QString& UnitsString() const { return fUnitsString; }
  void SetUnitsString(const QString& code);
  int Units() const { return fUnits; }
  void SetUnits(int system);

  // While loading, the limits and the number are stored as given, without
  // clamping against each other.
  void SetLoading(bool loading) { fLoading = loading; }

  // Runs the exit check; dialogs refuse to close on false.
  bool CloseQuery();
  void Evaluate();

 signals:
  // Emitted after every exit check, once its message (if any) is closed, so
  // that handlers see the checked and rewritten text.
  void Exit(bool ok);

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void DoExit();
  void ShowCheckMessage(const QString& message);
  void RefreshLabel();

  QString fCaption;
  bool fIntegerOnly = false;
  QPointer<QLabel> fEditLabel;
  long double fMinVal = -kDefaultMaxVal;
  long double fMaxVal = kDefaultMaxVal;
  QString fUnitsString;
  int fUnits = 1;
  bool fOK = false;
  bool fLoading = false;
  bool fChecking = false;  // no second check while a message of the first is up
};

}  // namespace korvan
