#include <QComboBox>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "components/CellControls.h"
#include "support/grid_table_support.h"
#include "support/message_capture.h"
#include "table_form_support.h"

namespace korvan {
namespace {

using testing::Add;
using testing::EditorWindowTest;
using testing::TMessageCapture;

std::unique_ptr<TGridTable> PlainTable(int columns, int rows, int minRows = 1, int maxRows = 0) {
  auto table = std::make_unique<TGridTable>();
  table->SetCaption(QStringLiteral("Pile-Head Loads"));
  table->SetMinRows(minRows);
  table->SetMaxRows(maxRows);
  for (int c = 0; c < columns; ++c) {
    auto& column = Add<TFloatColumn>(*table, TFloatColumn::Class());
    column.SetHeading({QStringLiteral("Axial Load"), QStringLiteral("at Pile Head")});
    column.SetUnitsString(QStringLiteral("F"));
  }
  table->SetRowCount(rows);
  return table;
}

TEST_F(EditorWindowTest, RowButtonsShowUnlessTheRowCountIsFixedAndFollowTheLimits) {
  struct Case {
    int minRows, maxRows, rows;
    bool shown, add, del;
  };
  for (const Case c : {Case{2, 2, 2, false, false, false}, Case{1, 0, 1, true, true, false},
                       Case{1, 3, 3, true, false, true}, Case{2, 50, 4, true, true, true}}) {
    auto table = PlainTable(1, c.rows, c.minRows, c.maxRows);
    TTableForm* form = Open(*table);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->BtnAdd()->isVisible(), c.shown) << c.minRows << "/" << c.maxRows;
    EXPECT_EQ(form->BtnDel()->isVisible(), c.shown);
    EXPECT_EQ(form->BtnAdd()->isEnabled(), c.add) << c.minRows << "/" << c.maxRows;
    EXPECT_EQ(form->BtnIns()->isEnabled(), c.add);
    EXPECT_EQ(form->BtnDel()->isEnabled(), c.del) << c.minRows << "/" << c.maxRows;
  }
}

TEST_F(EditorWindowTest, AnEnteredExpressionIsStoredAndShownAsItsValueAndEnterMovesDownThenAcross) {
  struct Case {
    const char* typed;
    long double stored;
    const char* shown;
  };
  // Eight significant digits are shown; 400000000 has nine.
  for (const Case c : {Case{"2*3", 6, "6"}, Case{"4.0E+08", 4e8L, "4E8"},
                       Case{"1.5e+3/2", 750, "750"}, Case{"1e+3-1e-3", 999.999L, "999.999"}}) {
    auto table = PlainTable(2, 2);
    TTableForm* form = Open(*table);
    Type(*form, QString::fromLatin1(c.typed));
    PressEnter(*form);
    EXPECT_EQ(table->GetFloatValue(0, 0), c.stored) << c.typed;
    EXPECT_EQ(form->Grid()->item(0, 0)->text(), QLatin1String(c.shown)) << c.typed;
    EXPECT_EQ(form->Grid()->currentRow(), 1);
    EXPECT_TRUE(table->Changed());
  }
  // From the last row to the top of the next column, from the last column
  // back to the first.
  auto table = PlainTable(2, 2);
  TTableForm* form = Open(*table);
  std::vector<std::pair<int, int>> visited;
  for (int i = 0; i < 4; ++i) {
    PressEnter(*form);
    visited.emplace_back(form->Grid()->currentRow(), form->Grid()->currentColumn());
  }
  EXPECT_EQ(visited, (std::vector<std::pair<int, int>>{{1, 0}, {0, 1}, {1, 1}, {0, 0}}));
}

TEST_F(EditorWindowTest, AnInvalidEntryKeepsTheCursorKeepsTheValueAndBlocksClosing) {
  auto table = PlainTable(1, 3);
  table->SetFloatValue(0, 0, 5);
  TTableForm* form = Open(*table);
  const QPointer<TTableForm> window(form);
  TMessageCapture messages;
  Type(*form, QStringLiteral("2*"));
  form->Grid()->setCurrentCell(2, 0);
  Settle();
  EXPECT_EQ(form->Grid()->currentRow(), 0);
  EXPECT_EQ(table->GetFloatValue(0, 0), 5.0L);
  EXPECT_EQ(messages.Messages(),
            std::vector<std::string>{"Entry could not be evaluated:\ninvalid expression"});

  messages.Clear();
  EXPECT_FALSE(form->close());
  Settle();
  EXPECT_FALSE(window.isNull());
  EXPECT_EQ(table->Form(), form);
  EXPECT_EQ(messages.Messages().size(), 1u);

  Type(*form, QStringLiteral("7"));
  EXPECT_TRUE(form->close());
  Settle();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(table->Form(), nullptr);
  EXPECT_EQ(table->GetFloatValue(0, 0), 7.0L);
}

// Only an entry that changes the stored value marks the table changed; an
// entry the project cannot keep is refused as the fields refuse it, the
// cursor staying in the cell and the value as it was.
TEST_F(EditorWindowTest, OnlyChangedValuesMarkTheTableAndUnkeepableEntriesAreRefused) {
  struct Case {
    long double stored;
    const char* typed;
    long double kept;
    bool changed;
    const char* message;  // empty when the entry is taken
  };
  for (const Case c : {
           Case{6, "2*3", 6, false, ""},
           Case{6, "6.000", 6, false, ""},
           Case{1.23456789L, "1.2345679", 1.23456789L, false, ""},  // as shown: not stored again
           Case{6, "7", 7, true, ""},
           Case{6, "1e100", 1e100L, true, ""},
           Case{6, "1e308*10", 6, false, "Entry must be less than or equal to 1.1897315E100"},
           Case{6, "-1e999", 6, false, "Entry must be greater than or equal to -1.1897315E100"},
       }) {
    auto table = PlainTable(1, 2);
    table->SetFloatValue(0, 0, c.stored);
    table->ResetChanged();
    TTableForm* form = Open(*table);
    TMessageCapture messages;
    Type(*form, QString::fromLatin1(c.typed));
    PressEnter(*form);
    Settle();
    EXPECT_EQ(table->GetFloatValue(0, 0), c.kept) << c.typed;
    EXPECT_EQ(table->Changed(), c.changed) << c.typed;
    std::vector<std::string> expected;
    if (*c.message) expected.emplace_back(c.message);
    EXPECT_EQ(messages.Messages(), expected) << c.typed;
    EXPECT_EQ(form->Grid()->currentRow(), *c.message ? 0 : 1) << c.typed;
    if (*c.message) {
      Type(*form, QStringLiteral("8"));
      EXPECT_TRUE(form->close()) << c.typed;
    } else {
      EXPECT_TRUE(form->close()) << c.typed;
      EXPECT_EQ(table->Changed(), c.changed) << "closing changes nothing: " << c.typed;
    }
  }
  // Rows added or deleted mark the table; a window opened and closed does not.
  auto table = PlainTable(1, 3);
  TTableForm* form = Open(*table);
  EXPECT_TRUE(form->close());
  EXPECT_FALSE(table->Changed());
  form = Open(*table);
  form->BtnDelClick();
  EXPECT_TRUE(table->Changed());
}

// Each kind of column takes its entries through the window; Escape brings
// back the stored value.
TEST_F(EditorWindowTest, EveryColumnKindTakesItsEntriesAndEscapeRestoresTheValue) {
  TGridTable table;
  table.SetCaption(QStringLiteral("Kinds"));
  auto& count = Add<TIntColumn>(table, TIntColumn::Class());
  count.SetMinimum(1);
  count.SetMaximum(10);
  Add<TStringColumn>(table, TStringColumn::Class());
  Add<TFloatColumn>(table, TFloatColumn::Class());
  table.SetRowCount(1);
  TTableForm* form = Open(table);
  struct Case {
    int column;
    const char* typed;
    const char* shown;
    const char* message;
  };
  for (const Case c :
       {Case{0, "2*4", "8", nullptr}, Case{0, "2.5", "8", "Entry must be an integer."},
        Case{0, "11", "8", "Entry must be between 1 and 10."}, Case{1, "Pile 1", "Pile 1", nullptr},
        Case{2, "sqrt(2)^2", "2", nullptr}}) {
    form->Grid()->setCurrentCell(0, c.column);
    TMessageCapture messages;
    Type(*form, QString::fromLatin1(c.typed));
    PressEnter(*form);
    Settle();
    if (c.message) {
      EXPECT_EQ(messages.Messages(), std::vector<std::string>{c.message}) << c.typed;
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(form->Grid()->indexWidget(form->Grid()->currentIndex()), &escape);
      Settle();
    }
    EXPECT_EQ(table.GetStringValue(c.column, 0), QLatin1String(c.shown)) << c.typed;
    EXPECT_EQ(form->Grid()->item(0, c.column)->text(), QLatin1String(c.shown)) << c.typed;
  }
}

TEST_F(EditorWindowTest, ThirtyRowsShowTenWithAScrollBarAndFiveUnderAChart) {
  auto plain = PlainTable(1, 30);
  TTableForm* form = Open(*plain);
  EXPECT_EQ(form->RowsVisible(), 10);
  EXPECT_EQ(form->Grid()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(form->Grid()->verticalScrollBar()->maximum(), 20);

  auto chart = testing::FloatChartTable({"Depth,", "Settlement,"}, 30);
  auto* chartForm = Open<TTableChartForm>(*chart);
  ASSERT_NE(chartForm, nullptr);
  EXPECT_EQ(chartForm->RowsVisible(), 5);
  EXPECT_TRUE(chartForm->Chart1()->isVisible());
  EXPECT_GT(chartForm->Grid()->y(), chartForm->Chart1()->geometry().bottom());

  // A short table grows its view with each added row up to the limit.
  auto growing = PlainTable(1, 3);
  TTableForm* small = Open(*growing);
  EXPECT_EQ(small->Grid()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  const int height = small->height();
  small->BtnAddClick();
  EXPECT_EQ(growing->RowCount(), 4);
  EXPECT_EQ(small->RowsVisible(), 4);
  EXPECT_GT(small->height(), height);
}

TEST_F(EditorWindowTest, InsertAndDeleteWorkOnTheCurrentRow) {
  auto table = PlainTable(1, 3);
  for (int row = 0; row < 3; ++row) table->SetFloatValue(0, row, row + 1);
  TTableForm* form = Open(*table);
  form->Grid()->setCurrentCell(1, 0);
  form->BtnInsClick();
  ASSERT_EQ(table->RowCount(), 4);
  EXPECT_EQ(table->GetFloatValue(0, 1), 0.0L);
  EXPECT_EQ(table->GetFloatValue(0, 2), 2.0L);
  form->Grid()->setCurrentCell(3, 0);
  form->BtnDelClick();
  EXPECT_EQ(table->RowCount(), 3);
  EXPECT_EQ(form->Grid()->rowCount(), 3);
  EXPECT_EQ(form->Grid()->item(2, 0)->text(), "2");

  // Rows set from outside (a new project) reach the open window.
  table->SetRowCount(0);
  table->SetRowCount(5);
  EXPECT_EQ(form->Grid()->rowCount(), 5);
  EXPECT_EQ(form->Grid()->item(4, 0)->text(), "0");
}

TEST_F(EditorWindowTest, TheWindowSnapsToWholeRowsWhenItsHeightIsDragged) {
  auto table = PlainTable(1, 30);
  TTableForm* form = Open(*table);
  const int rowHeight = form->Grid()->rowHeight(0);
  const int width = form->width();
  form->resize(width, form->height() - 3 * rowHeight - rowHeight / 2);
  Settle();
  EXPECT_EQ(form->RowsVisible(), 6);
  EXPECT_EQ(form->size(), form->sizeHint());
  EXPECT_EQ(form->width(), width);
}

TEST_F(EditorWindowTest, LayersShowChoicesAndButtonsAndOpenSubTablesCaptionedWithTheirPath) {
  testing::LayerTables<testing::ChartFamilyKinds> tables;
  tables.layers->SetCaption(QStringLiteral("Soil Layers"));
  tables.layers->SetIntValue(0, 1, 2);
  TTableForm* form = Open(*tables.layers);
  EXPECT_EQ(form->windowTitle(), "Soil Layers ");
  auto* choice = dynamic_cast<TCellWidgetControl*>(tables.layers->GetColumn(0).GetControl(1));
  ASSERT_NE(choice, nullptr);
  auto* box = qobject_cast<QComboBox*>(choice->Widget());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->currentText(), "Sand");
  EXPECT_EQ(form->Grid()->item(1, 0)->text(), QString());

  auto* button = dynamic_cast<TCellWidgetControl*>(tables.layers->GetColumn(2).GetControl(1));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(qobject_cast<QPushButton*>(button->Widget())->text(), "2: Sand Layer Data");
  qobject_cast<QPushButton*>(button->Widget())->click();
  Settle();
  TGridTable* sub = tables.layers->GetDataValue(2, 1);
  ASSERT_NE(sub->Form(), nullptr);
  EXPECT_EQ(dynamic_cast<QWidget*>(sub->Form())->windowTitle(), "Sand Layer Data  2");
  EXPECT_FALSE(sub->IsModal());

  // Choosing another soil closes the old layer data with its window.
  box->setCurrentIndex(0);
  emit box->activated(0);
  Settle();
  EXPECT_EQ(tables.layers->GetIntValue(0, 1), 1);
  EXPECT_EQ(qobject_cast<QPushButton*>(button->Widget())->text(), "2: Clay Layer Data");
  EXPECT_NE(tables.layers->GetDataValue(2, 1), sub);
}

TEST_F(EditorWindowTest, UnderAModalEditorSubTablesOpenModallyAsFreeStandingWindows) {
  QMdiArea area;
  platform::SetChildWindowArea(&area);
  testing::LayerTables<testing::PlainFamilyKinds> tables;
  bool subModal = false, subTopLevel = false, outerTopLevel = false;
  QTimer::singleShot(0, [&] {
    auto* outer = dynamic_cast<TTableForm*>(tables.layers->Form());
    outerTopLevel = outer->isWindow() && outer->Frame() == outer;
    QTimer::singleShot(0, [&] {
      TGridTable* sub = tables.layers->GetDataValue(2, 0);
      auto* inner = dynamic_cast<TTableForm*>(sub->Form());
      subModal = sub->IsModal();
      subTopLevel = inner && inner->isWindow() && inner->Frame() == inner;
      sub->Hide();
      tables.layers->Hide();
    });
    dynamic_cast<TTableColumn&>(tables.layers->GetColumn(2)).ButtonClick(0);
  });
  tables.layers->ShowModal();
  platform::SetChildWindowArea(nullptr);
  EXPECT_TRUE(outerTopLevel);
  EXPECT_TRUE(subModal);
  EXPECT_TRUE(subTopLevel);
  EXPECT_FALSE(tables.layers->FormVisible());
}

TEST_F(EditorWindowTest, ModelessEditorsAreChildWindowsOfTheRegisteredArea) {
  QMdiArea area;
  platform::SetChildWindowArea(&area);
  auto table = PlainTable(1, 2);
  TTableForm* form = Open(*table);
  EXPECT_NE(form->Frame(), form);
  EXPECT_EQ(area.subWindowList().size(), 1);
  table->Hide();
  Settle();
  EXPECT_TRUE(area.subWindowList().isEmpty());
  platform::SetChildWindowArea(nullptr);
}

}  // namespace
}  // namespace korvan
