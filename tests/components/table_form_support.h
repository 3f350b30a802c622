// Shared set-up of the editor-window tests: the real editor windows
// installed for both families, small tables built here, and keys typed into
// the open cell editor.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <memory>

#include "components/TableChartForm.h"
#include "components/TableEditors.h"
#include "components/TableForm.h"
#include "model/ColumnTypesChart.h"
#include "support/qstring_printer.h"

namespace korvan::testing {

// Installs the editor windows for the test and puts back what was there.
class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fPlain = PlainFamily().EditorFactory;
    fChart = ChartFamily().EditorFactory;
    InstallTableEditors();
  }
  void TearDown() override {
    Settle();
    PlainFamily().EditorFactory = fPlain;
    ChartFamily().EditorFactory = fChart;
  }

  // Runs what was queued: messages after focus changes, deferred deletes.
  static void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  template <class TForm = TTableForm>
  static TForm* Open(TGridTable& table) {
    table.Show();
    return dynamic_cast<TForm*>(table.Form());
  }

  // Replaces the text of the current cell as typed keys would.
  static void Type(TTableForm& form, const QString& text) {
    form.Grid()->EditCurrentCell();
    auto* editor = qobject_cast<QLineEdit*>(form.Grid()->indexWidget(form.Grid()->currentIndex()));
    ASSERT_NE(editor, nullptr) << "no open cell editor";
    editor->selectAll();
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(editor, &press);
    }
  }

  static void PressEnter(TTableForm& form) {
    QWidget* target = form.Grid()->indexWidget(form.Grid()->currentIndex());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(target ? target : form.Grid(), &press);
  }

 private:
  TTableEditorFactory fPlain;
  TTableEditorFactory fChart;
};

// A chart table of float columns with the given headings, `rows` rows of
// zeros, x = column 1 and y = column 0 and file and clipboard transfer.
inline std::unique_ptr<TGridTableChart> FloatChartTable(const QStringList& headings, int rows,
                                                        int minRows = 2, int maxRows = 100) {
  auto table = std::make_unique<TGridTableChart>();
  table->SetCaption(QStringLiteral("Curve"));
  table->SetMinRows(minRows);
  table->SetMaxRows(maxRows);
  for (const QString& heading : headings) {
    table->AddColumn(TFloatColumnChart::Class()).SetHeading({heading});
  }
  table->SetVisibleChart(true);
  table->SetXcolumn(1);
  table->SetYcolumn(0);
  table->SetGetDataFromFile(true);
  table->SetRowCount(rows);
  return table;
}

}  // namespace korvan::testing
