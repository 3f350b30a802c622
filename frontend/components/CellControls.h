// The controls that the editor windows lay over enumeration cells (a
// drop-down list) and sub-table cells (a button). A column owns each control
// through its TCellControl handle; the widget itself belongs to the grid it
// lies on, and the handle frees it when the column lets the control go.
#pragma once

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <memory>

#include "model/TableEditorHooks.h"

namespace korvan {

class TCellWidgetControl : public TCellControl {
 public:
  ~TCellWidgetControl() override;
  void SetTag(int row) override { fTag = row; }
  int Tag() const override { return fTag; }
  QWidget* Widget() const { return fWidget; }

 protected:
  explicit TCellWidgetControl(QWidget* widget) : fWidget(widget) {}

 private:
  QPointer<QWidget> fWidget;
  int fTag = -1;
};

class TCellComboBox : public TCellWidgetControl {
 public:
  // `chosen` hears of each entry the user picks (row, index); `entered` of
  // the focus arriving (row).
  TCellComboBox(QWidget* parent, std::function<void(int row, int index)> chosen,
                std::function<void(int row)> entered);
  void SetItems(const QStringList& names) override;
  void SetItemIndex(int index) override;

 private:
  QComboBox* Box() const;
};

class TCellButton : public TCellWidgetControl {
 public:
  TCellButton(QWidget* parent, std::function<void(int row)> clicked);
  void SetCaption(const QString& caption) override;
};

}  // namespace korvan
