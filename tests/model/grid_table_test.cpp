#include <gtest/gtest.h>

#include <cmath>

#include "model/TableErrors.h"
#include "support/grid_table_support.h"

namespace korvan {
namespace {

using testing::Add;
using testing::ChartFamilyKinds;
using testing::LayerTables;
using testing::MessageOf;
using testing::PlainFamilyKinds;

// ---------------------------------------------------------------- rows

struct RowCountCase {
  int rowGroup;
  int requested;
  int expected;
};

class RowCountTest : public ::testing::TestWithParam<RowCountCase> {};

TEST_P(RowCountTest, EveryColumnFollowsTheRowCount) {
  const RowCountCase& c = GetParam();
  TGridTable table;
  table.SetRowGroup(c.rowGroup);
  Add<TFloatColumn>(table, TFloatColumn::Class());
  Add<TStringColumn>(table, TStringColumn::Class());
  table.SetRowCount(4);
  table.SetRowCount(c.requested);
  EXPECT_EQ(table.RowCount(), c.expected);
  for (int col = 0; col < table.ColCount(); ++col) {
    EXPECT_EQ(table.GetColumn(col).Count(), c.expected) << "column " << col;
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, RowCountTest,
                         ::testing::Values(RowCountCase{1, -5, 0}, RowCountCase{1, 0, 0},
                                           RowCountCase{1, 2, 2}, RowCountCase{1, 7, 7},
                                           RowCountCase{2, 3, 4}, RowCountCase{3, -1, 0}));

TEST(GridTableRows, MinRowsMustBePositiveExceptWhileLoading) {
  TGridTable table;
  EXPECT_EQ(MessageOf([&] { table.SetMinRows(0); }), "Value must be greater than 0");
  EXPECT_EQ(table.MinRows(), 1);
  table.SetLoading(true);
  table.SetMinRows(-3);
  EXPECT_EQ(table.MinRows(), 1);
  table.SetLoading(false);
  table.SetMinRows(4);
  EXPECT_EQ(table.MinRows(), 4);
}

TEST(GridTableRows, RowGroupsAreInsertedAndDeletedWhole) {
  TGridTable table;
  table.SetRowGroup(2);
  auto& values = Add<TIntColumn>(table, TIntColumn::Class());
  table.SetRowCount(4);
  for (int row = 0; row < 4; ++row) values.SetIntValue(row, row + 10);
  table.InsertRowGroup(3);  // the group of rows 2 and 3
  ASSERT_EQ(table.RowCount(), 6);
  EXPECT_EQ(values.GetIntValue(1), 11);
  EXPECT_EQ(values.GetIntValue(2), 0);
  EXPECT_EQ(values.GetIntValue(3), 0);
  EXPECT_EQ(values.GetIntValue(4), 12);
  table.DeleteRowGroup(0);
  ASSERT_EQ(table.RowCount(), 4);
  EXPECT_EQ(values.GetIntValue(0), 0);
  EXPECT_EQ(values.GetIntValue(2), 12);
  EXPECT_EQ(MessageOf([&] { table.DeleteRowGroup(4); }), "Index out of bounds");
}

TEST(GridTableRows, CellHandleFollowsItsRowThroughInsertsAndDeletes) {
  TGridTable table;
  Add<TFloatColumn>(table, TFloatColumn::Class());
  table.SetRowCount(3);
  TData* handle = table.GetData(0, 1);
  handle->SetFloat(42.5L);
  table.InsertRowGroup(0);
  table.InsertRowGroup(1);
  EXPECT_EQ(handle->Row(), 3);
  EXPECT_EQ(handle->Float(), 42.5L);
  EXPECT_EQ(table.GetFloatValue(0, 3), 42.5L);
  table.DeleteRowGroup(0);
  EXPECT_EQ(handle->Row(), 2);
  handle->SetValue("7");
  EXPECT_EQ(table.GetFloatValue(0, 2), 7.0L);
  EXPECT_EQ(table.GetData(0, 2), handle);
}

// ---------------------------------------------------------------- accessors

struct WrongTypeCase {
  const char* name;
  std::function<void(TGridTable&)> access;
};

class WrongAccessorTest : public ::testing::TestWithParam<WrongTypeCase> {};

// Columns: 0 enum, 1 integer, 2 float, 3 table, 4 string.
TEST_P(WrongAccessorTest, RaisesDataOfWrongType) {
  TGridTable table;
  table.AddColumn(TEnumColumn::Class());
  table.AddColumn(TIntColumn::Class());
  table.AddColumn(TFloatColumn::Class());
  table.AddColumn(TTableColumn::Class());
  table.AddColumn(TStringColumn::Class());
  table.SetRowCount(1);
  try {
    GetParam().access(table);
    FAIL() << "no error";
  } catch (const EInvalidCast& error) {
    EXPECT_EQ(error.Message(), "Data of wrong type");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Accessors, WrongAccessorTest,
    ::testing::Values(WrongTypeCase{"FloatOfString", [](TGridTable& t) { t.GetFloatValue(4, 0); }},
                      WrongTypeCase{"FloatOfEnum", [](TGridTable& t) { t.SetFloatValue(0, 0, 1); }},
                      WrongTypeCase{"IntOfFloat", [](TGridTable& t) { t.GetIntValue(2, 0); }},
                      WrongTypeCase{"IntOfTable", [](TGridTable& t) { t.SetIntValue(3, 0, 1); }},
                      WrongTypeCase{"TableOfInt", [](TGridTable& t) { t.GetDataValue(1, 0); }},
                      WrongTypeCase{"FloatOfHandle",
                                    [](TGridTable& t) { t.GetData(4, 0)->Float(); }}),
    [](const auto& info) { return info.param.name; });

TEST(GridTableCells, SameGroupStoresIntoTheWholeRowGroup) {
  TGridTable table;
  table.SetRowGroup(2);
  auto& grouped = Add<TFloatColumn>(table, TFloatColumn::Class());
  grouped.SetSameGroup(true);
  auto& single = Add<TStringColumn>(table, TStringColumn::Class());
  table.SetRowCount(4);
  std::vector<std::pair<int, int>> changes;
  QObject::connect(&table, &TGridTable::cellChanged, &table,
                   [&](int col, int row) { changes.emplace_back(col, row); });
  grouped.SetFloatValue(3, 2.5L);
  single.SetStringValue(3, "x");
  EXPECT_EQ(grouped.GetFloatValue(2), 2.5L);
  EXPECT_EQ(grouped.GetFloatValue(3), 2.5L);
  EXPECT_EQ(grouped.GetFloatValue(1), 0.0L);
  EXPECT_EQ(single.GetStringValue(2), "");
  const std::vector<std::pair<int, int>> expected{{0, 2}, {0, 3}, {1, 3}};
  EXPECT_EQ(changes, expected);
}

TEST(GridTableCells, UnchangedChoiceRaisesNothing) {
  TGridTable table;
  auto& choice = Add<TEnumColumn>(table, TEnumColumn::Class());
  table.SetRowCount(1);
  int changes = 0;
  QObject::connect(&table, &TGridTable::cellChanged, &table, [&](int, int) { ++changes; });
  choice.SetIntValue(0, 1);
  EXPECT_EQ(changes, 0);
  choice.SetIntValue(0, 2);
  EXPECT_EQ(changes, 1);
}

// ---------------------------------------------------------------- SetStringValue

struct EntryCase {
  const char* name;
  const TColumnClass& (*columnClass)();
  bool editorOpen;
  const char* text;
  const char* expectedText;  // the cell's text afterwards
  const char* message;       // "" when the entry is accepted
};

class SetStringValueTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SetStringValueTest, StoresOrRefusesWithTheExactMessage) {
  const EntryCase& c = GetParam();
  testing::TEditorFactoryScope editors(PlainFamily());
  TGridTable table;
  TColumn& column = table.AddColumn(c.columnClass());
  if (auto* integer = dynamic_cast<TIntColumn*>(&column)) {
    integer->SetDefault(3);
    integer->SetMinimum(1);
    integer->SetMaximum(5);
  }
  table.SetRowCount(1);
  if (c.editorOpen) table.Show();
  ASSERT_EQ(table.FormVisible(), c.editorOpen);
  EXPECT_EQ(MessageOf([&] { table.SetStringValue(0, 0, c.text); }), c.message);
  EXPECT_EQ(table.GetStringValue(0, 0), c.expectedText);
  table.Hide();
}

const TColumnClass& EnumClass() {
  return TEnumColumn::Class();
}
const TColumnClass& IntClass() {
  return TIntColumn::Class();
}
const TColumnClass& FloatClass() {
  return TFloatColumn::Class();
}
const TColumnClass& StringClass() {
  return TStringColumn::Class();
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SetStringValueTest,
    ::testing::Values(
        EntryCase{"IntWhole", IntClass, true, "4", "4", ""},
        EntryCase{"IntNearlyWhole", IntClass, true, "2.00000000001", "2", ""},
        EntryCase{"IntFraction", IntClass, true, "4.5", "3", "Entry must be an integer."},
        EntryCase{"IntNegativeFraction", IntClass, true, "-0.5", "3", "Entry must be an integer."},
        EntryCase{"IntAboveMaximum", IntClass, true, "6", "3", "Entry must be between 1 and 5."},
        EntryCase{"IntBelowMinimum", IntClass, true, "0", "3", "Entry must be between 1 and 5."},
        // Without an editor (files, clipboard) values are only rounded, halves to even.
        EntryCase{"IntClosedFraction", IntClass, false, "6.5", "6", ""},
        EntryCase{"IntClosedHalfUp", IntClass, false, "7.5", "8", ""},
        EntryCase{"IntClosedOutsideLimits", IntClass, false, "9", "9", ""},
        EntryCase{"IntClosedBeyond32Bits", IntClass, false, "1e12", "3",
                  "Entry must be between 1 and 5."},
        EntryCase{"EnumWhole", EnumClass, false, "2", "2", ""},
        EntryCase{"EnumBeyondNames", EnumClass, true, "9", "9", ""},
        EntryCase{"EnumFraction", EnumClass, true, "2.5", "1", "Value must be an integer."},
        EntryCase{"EnumBeyond32Bits", EnumClass, false, "3e9", "1", "Value must be an integer."},
        EntryCase{"IntExpression", IntClass, true, "10-2*3", "4", ""},
        EntryCase{"IntExpressionFraction", IntClass, true, "10/4", "3",
                  "Entry must be an integer."},
        EntryCase{"EnumExpression", EnumClass, true, "sqrt(9)", "3", ""},
        EntryCase{"FloatNumber", FloatClass, false, "2.5", "2.5", ""},
        EntryCase{"FloatExpression", FloatClass, true, "2*3", "6", ""},
        EntryCase{"FloatEightDigits", FloatClass, false, "3.14159265358", "3.1415927", ""},
        EntryCase{"FloatInvalid", FloatClass, false, "abc", "0",
                  "Entry could not be evaluated:\ninvalid character(s) in expression"},
        EntryCase{"FloatBlank", FloatClass, true, "", "0",
                  "Entry could not be evaluated:\nentry cannot be blank"},
        EntryCase{"StringAsGiven", StringClass, false, " 2*3 ", " 2*3 ", ""}),
    [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------- units

TEST(GridTableUnits, SwitchConvertsFloatColumnsAndNotifies) {
  LayerTables<PlainFamilyKinds> tables;
  TGridTable& layers = *tables.layers;
  auto& depth = dynamic_cast<TFloatColumn&>(layers.GetColumn(1));
  auto& ratio = Add<TFloatColumn>(layers, TFloatColumn::Class());
  depth.SetFloatValue(0, 39.37007874L);
  depth.SetFloatValue(1, 78.74015748L);
  ratio.SetFloatValue(0, 0.5L);
  TGridTable* sub = layers.GetDataValue(2, 1);
  ASSERT_NE(sub, nullptr);
  sub->SetFloatValue(0, 0, 1.0L);  // F/L^3
  sub->SetFloatValue(1, 0, 0.9L);  // dimensionless

  std::vector<std::pair<int, int>> changes;
  int majorChanges = 0;
  QObject::connect(&layers, &TGridTable::cellChanged, &layers,
                   [&](int col, int row) { changes.emplace_back(col, row); });
  QObject::connect(&layers, &TGridTable::majorChange, &layers, [&] { ++majorChanges; });
  layers.SetUnits(2);

  EXPECT_EQ(layers.Units(), 2);
  EXPECT_NEAR(static_cast<double>(depth.GetFloatValue(0)), 1.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(depth.GetFloatValue(1)), 2.0, 1e-12);
  EXPECT_EQ(ratio.GetFloatValue(0), 0.5L);
  EXPECT_EQ(sub->Units(), 2);
  const long double inPerM = 39.37007874L;
  EXPECT_NEAR(
      static_cast<double>(sub->GetFloatValue(0, 0) * 224.8089237L / (inPerM * inPerM * inPerM)),
      1.0, 1e-12);
  EXPECT_EQ(sub->GetFloatValue(1, 0), 0.9L);
  const std::vector<std::pair<int, int>> expected{{1, 0}, {1, 1}, {3, 0}, {3, 1}};
  EXPECT_EQ(changes, expected);
  EXPECT_EQ(majorChanges, 1);

  changes.clear();
  layers.SetUnits(2);
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(majorChanges, 1);
  EXPECT_NEAR(static_cast<double>(depth.GetFloatValue(0)), 1.0, 1e-12);

  // New rows take the table's system: their sub-tables are in SI too.
  layers.AddRowGroup();
  EXPECT_EQ(layers.GetDataValue(2, 2)->Units(), 2);
}

TEST(GridTableUnits, DisplayHeadingsCarryTheUnitText) {
  LayerTables<PlainFamilyKinds> tables;
  TGridTable& layers = *tables.layers;
  layers.GetColumn(1).SetHeading({"Bottom of Layer"});
  TGridTable& clay = *tables.clay;
  EXPECT_EQ(layers.GetColumn(1).GetDisplayHeadings(0), "Bottom of Layer (in)  ");
  EXPECT_EQ(clay.GetColumn(0).GetDisplayHeadings(0), "Effective Unit ");
  EXPECT_EQ(clay.GetColumn(0).GetDisplayHeadings(1), "Weight, (lbs/in^3)  ");
  EXPECT_EQ(layers.GetColumn(0).GetDisplayHeadings(0), "");
  layers.SetUnits(2);
  clay.SetUnits(2);
  EXPECT_EQ(layers.GetColumn(1).GetDisplayHeadings(0), "Bottom of Layer (m)  ");
  EXPECT_EQ(clay.GetColumn(0).GetDisplayHeadings(1), "Weight, (kN/m^3)  ");
  EXPECT_EQ(clay.HeadingRows(), 2);
  clay.GetColumn(0).SetVisible(false);
  EXPECT_EQ(clay.HeadingRows(), 0);
}

// ---------------------------------------------------------------- registries

TEST(GridTableRegistry, SettingAHeldIdentifierSwapsTheTwo) {
  TGridTable first;
  TGridTable second;
  first.SetIdentifier(700);
  second.SetIdentifier(701);
  second.SetIdentifier(700);
  EXPECT_EQ(second.Identifier(), 700);
  EXPECT_EQ(first.Identifier(), 701);
  second.SetIdentifier(-4);
  EXPECT_EQ(second.Identifier(), 700);
}

TEST(GridTableRegistry, LookupByIdentifierFindsTheEarliestCreated) {
  TGridTable earliest;
  auto later = std::make_unique<TGridTable>();
  const int nextIssued = later->Identifier() + 1;
  earliest.SetIdentifier(nextIssued);
  TGridTable counterCopy;  // gets nextIssued from the counter
  ASSERT_EQ(counterCopy.Identifier(), nextIssued);
  TGridTableList list(PlainFamily().Tables);
  list.AddByIdent(nextIssued);
  EXPECT_EQ(list.Elements(0), &earliest);
  // A chart table with the same identifier lives in another registry.
  TGridTableChart chart;
  chart.SetIdentifier(nextIssued);
  EXPECT_EQ(list.Elements(0), &earliest);
  EXPECT_EQ(earliest.Identifier(), nextIssued);
}

TEST(GridTableRegistry, ListElementsByPositionAndIdentifier) {
  TGridTable table;
  table.SetIdentifier(702);
  TGridTableList list(PlainFamily().Tables);
  list.Add(&table);
  list.AddByIdent(702);
  list.AddByIdent(-1);
  list.Add(1 << 30);
  EXPECT_EQ(list.Elements(0), &table);
  EXPECT_EQ(list.Elements(1), &table);
  EXPECT_EQ(list.TableIndices(2), -1);
  EXPECT_EQ(list.Elements(2), nullptr);
  EXPECT_EQ(list.Elements(3), nullptr);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(MessageOf([&] { list.Delete(3); }), "Index out of bounds");
}

// ---------------------------------------------------------------- sub-tables

template <class Kinds>
class TemplateSwapTest : public ::testing::Test {};
using Families = ::testing::Types<PlainFamilyKinds, ChartFamilyKinds>;
TYPED_TEST_SUITE(TemplateSwapTest, Families);

TYPED_TEST(TemplateSwapTest, NewChoiceGivesAFreshSubTable) {
  LayerTables<TypeParam> tables;
  TGridTable& layers = *tables.layers;
  TGridTable* clay = layers.GetDataValue(2, 1);
  ASSERT_NE(clay, nullptr);
  EXPECT_EQ(clay->Caption(), "Clay Layer Data");
  EXPECT_EQ(clay->RowCount(), 2);
  EXPECT_EQ(clay->GetFloatValue(1, 0), 0.9L);
  clay->SetFloatValue(0, 0, 120.0L);
  clay->SetFloatValue(0, 1, 125.0L);
  clay->SetFloatValue(1, 1, 0.5L);

  layers.SetIntValue(0, 1, 2);
  TGridTable* sand = layers.GetDataValue(2, 1);
  ASSERT_NE(sand, nullptr);
  EXPECT_EQ(sand->Caption(), "Sand Layer Data");
  EXPECT_EQ(sand->ID(), 2);
  if (TypeParam::kCarriesValuesOver) {
    EXPECT_EQ(sand->GetFloatValue(0, 0), 120.0L);
    EXPECT_EQ(sand->GetFloatValue(0, 1), 125.0L);
    EXPECT_EQ(sand->GetFloatValue(1, 1), 0.5L);
  } else {
    EXPECT_EQ(sand->GetFloatValue(0, 0), 0.0L);
    EXPECT_EQ(sand->GetFloatValue(0, 1), 0.0L);
    EXPECT_EQ(sand->GetFloatValue(1, 1), 0.9L);
  }
  // The other row keeps its own sub-table.
  EXPECT_EQ(layers.GetDataValue(2, 0)->Caption(), "Clay Layer Data");
}

TYPED_TEST(TemplateSwapTest, ChoiceWithoutTemplateLeavesTheRowEmpty) {
  LayerTables<TypeParam> tables;
  TGridTable& layers = *tables.layers;
  layers.SetIntValue(0, 0, 3);
  EXPECT_EQ(layers.GetDataValue(2, 0), nullptr);
  EXPECT_EQ(dynamic_cast<TTableColumn&>(layers.GetColumn(2)).ButtonCaption(0), "1: ");
  layers.SetIntValue(0, 0, 1);
  EXPECT_EQ(dynamic_cast<TTableColumn&>(layers.GetColumn(2)).ButtonCaption(0),
            "1: Clay Layer Data");
}

TEST(GridTableSubTables, RowsAreRenumberedAndNamedByTheirPath) {
  LayerTables<ChartFamilyKinds> tables;
  TGridTable& layers = *tables.layers;
  layers.SetRowCount(3);
  TGridTable* third = layers.GetDataValue(2, 2);
  EXPECT_EQ(third->IDPath(), " 3");
  EXPECT_EQ(third->Caption() + " " + third->IDPath(), "Clay Layer Data  3");
  EXPECT_EQ(layers.IDPath(), "");
  layers.InsertRowGroup(0);
  EXPECT_EQ(third->ID(), 4);
  layers.DeleteRowGroup(1);
  EXPECT_EQ(third->ID(), 3);
  EXPECT_EQ(layers.GetDataValue(2, 0)->ID(), 1);
}

TEST(GridTableSubTables, TemplateListsFollowTheChoiceNames) {
  LayerTables<PlainFamilyKinds> tables;
  TGridTable& layers = *tables.layers;
  auto& data = dynamic_cast<TTableColumn&>(layers.GetColumn(2));
  layers.GetColumn(0).AddEnumStr("Rock");
  EXPECT_EQ(data.Templates().Count(), 3);
  layers.GetColumn(0).DelEnumStr(0);
  layers.GetColumn(0).DelEnumStr(7);
  EXPECT_EQ(data.Templates().Count(), 2);
  layers.GetColumn(0).ClearEnumStr();
  EXPECT_EQ(data.Templates().Count(), 0);
}

TEST(GridTableSubTables, TemplateHoldingItsOwnCopyDoesNotNestForever) {
  TGridTable table;
  table.SetIdentifier(703);
  auto& data = Add<TTableColumn>(table, TTableColumn::Class());
  data.Templates().Resize(0);
  data.Templates().AddByIdent(703);
  table.SetRowCount(2);
  EXPECT_EQ(table.GetDataValue(0, 0), nullptr);
  TGridTable outer;
  auto& outerData = Add<TTableColumn>(outer, TTableColumn::Class());
  outerData.Templates().Resize(0);
  outerData.Templates().AddByIdent(703);
  outer.SetRowCount(1);
  TGridTable* copy = outer.GetDataValue(0, 0);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->RowCount(), 1);
  EXPECT_EQ(copy->GetDataValue(0, 0), nullptr);
}

// ---------------------------------------------------------------- TopDepth

TEST(GridTableTopDepth, TopAndBottomOfAdjacentLayersMoveTogether) {
  TGridTable table;
  auto& top = Add<TFloatColumn>(table, TFloatColumn::Class());
  top.SetTopDepth(true);
  auto& bottom = Add<TFloatColumn>(table, TFloatColumn::Class());
  table.SetRowCount(3);
  top.SetFloatValue(1, 10);
  bottom.SetFloatValue(1, 20);
  const auto values = [&](const TFloatColumn& column) {
    std::vector<long double> result;
    for (int row = 0; row < column.Count(); ++row) result.push_back(column.GetFloatValue(row));
    return result;
  };
  EXPECT_EQ(values(top), (std::vector<long double>{0, 10, 20}));
  EXPECT_EQ(values(bottom), (std::vector<long double>{10, 20, 0}));
  table.InsertRowGroup(1);  // a new layer starts and ends where its neighbours meet
  EXPECT_EQ(values(top), (std::vector<long double>{0, 10, 10, 20}));
  EXPECT_EQ(values(bottom), (std::vector<long double>{10, 10, 20, 0}));
  table.DeleteRowGroup(1);
  EXPECT_EQ(values(top), (std::vector<long double>{0, 10, 20}));
  EXPECT_EQ(values(bottom), (std::vector<long double>{10, 20, 0}));
}

TEST(GridTableTopDepth, TopNeedsAFloatColumnAfterIt) {
  TGridTable table;
  Add<TIntColumn>(table, TIntColumn::Class());
  Add<TFloatColumn>(table, TFloatColumn::Class()).SetTopDepth(true);
  Add<TStringColumn>(table, TStringColumn::Class());
  const QString message = "If column if a topdepth then the next column must be a float column";
  EXPECT_EQ(MessageOf([&] { table.SetRowCount(1); }), message);
  EXPECT_EQ(MessageOf([&] { table.AddRowGroup(); }), message);
  EXPECT_EQ(MessageOf([&] { table.InsertRowGroup(0); }), message);
  // The refused insertion left every column as it was.
  EXPECT_EQ(table.RowCount(), 0);
  for (int col = 0; col < table.ColCount(); ++col) EXPECT_EQ(table.GetColumn(col).Count(), 0);
}

// ---------------------------------------------------------------- change tracking

TEST(GridTableChanges, SubTableChangesCountAndResetTogether) {
  LayerTables<PlainFamilyKinds> tables;
  TGridTable& layers = *tables.layers;
  EXPECT_FALSE(layers.Changed());
  layers.GetDataValue(2, 1)->SetChanged(true);
  EXPECT_TRUE(layers.Changed());
  layers.SetChanged(false);
  EXPECT_FALSE(layers.Changed());
  EXPECT_FALSE(layers.GetDataValue(2, 1)->Changed());
  layers.SetChanged(true);
  layers.SetFloatValue(1, 0, 3);  // the model itself never marks a change
  layers.ResetChanged();
  EXPECT_FALSE(layers.Changed());
}

// ---------------------------------------------------------------- editor hooks

TEST(GridTableEditor, TableWithOnlyHiddenColumnsNeverOpens) {
  testing::TEditorFactoryScope editors(PlainFamily());
  TGridTable table;
  Add<TFloatColumn>(table, TFloatColumn::Class()).SetVisible(false);
  table.Show();
  table.ShowModal();
  EXPECT_EQ(editors.Created(), 0);
  EXPECT_FALSE(table.FormVisible());
  table.GetColumn(0).SetVisible(true);
  table.Show();
  table.Show();
  EXPECT_EQ(editors.Created(), 1);
  EXPECT_TRUE(table.FormVisible());
  EXPECT_EQ(table.FormWidth(), 300);
  table.Hide();
  EXPECT_FALSE(table.FormVisible());
  EXPECT_EQ(table.FormWidth(), 0);
}

TEST(GridTableEditor, HidingClosesSubTableEditorsAndCaptionsFollowTheRow) {
  testing::TEditorFactoryScope editors(ChartFamily());
  LayerTables<ChartFamilyKinds> tables;
  TGridTable& layers = *tables.layers;
  layers.Show();
  auto& data = dynamic_cast<TTableColumn&>(layers.GetColumn(2));
  data.ButtonClick(1);
  TGridTable* sub = layers.GetDataValue(2, 1);
  ASSERT_TRUE(sub->FormVisible());
  EXPECT_FALSE(sub->IsModal());
  auto* subEditor = dynamic_cast<testing::TFakeEditor*>(sub->Form());
  ASSERT_NE(subEditor, nullptr);
  layers.InsertRowGroup(0);
  EXPECT_EQ(subEditor->fCaption, "Clay Layer Data  3");
  layers.Hide();
  EXPECT_FALSE(sub->FormVisible());
}

TEST(GridTableEditor, ComboBoxFollowsTheStoredChoice) {
  testing::TEditorFactoryScope editors(PlainFamily());
  LayerTables<PlainFamilyKinds> tables;
  TGridTable& layers = *tables.layers;
  layers.Show();
  auto& soil = dynamic_cast<TEnumColumn&>(layers.GetColumn(0));
  ASSERT_TRUE(soil.ControlsAllocated());
  layers.GetColumn(0).AllocateControls(layers.ColControlParent(), 0, 2);
  auto* combo = dynamic_cast<testing::TFakeControl*>(soil.GetControl(1));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->Tag(), 1);
  soil.ControlChoiceMade(1, 1);
  EXPECT_EQ(soil.GetIntValue(1), 2);
  soil.SetIntValue(1, 1);
  EXPECT_EQ(combo->fItemIndex, 0);
  // A column added while the window is open gets controls for the rows in view.
  TColumn& added = layers.AddColumn(TEnumColumn::Class());
  ASSERT_TRUE(added.ControlsAllocated());
  EXPECT_EQ(added.GetControl(1)->Tag(), 1);
  EXPECT_EQ(MessageOf([&] { added.GetControl(2); }), "Index out of bounds");
  layers.Hide();
  EXPECT_FALSE(soil.ControlsAllocated());
  EXPECT_FALSE(added.ControlsAllocated());
}

TEST(GridTableEditor, SubTablesOpenModallyUnderAModalEditorAndCloseWithTheirTable) {
  testing::TEditorFactoryScope editors(ChartFamily());
  auto tables = std::make_unique<LayerTables<ChartFamilyKinds>>();
  TGridTable& layers = *tables->layers;
  layers.ShowModal();
  ASSERT_TRUE(layers.IsModal());
  dynamic_cast<TTableColumn&>(layers.GetColumn(2)).ButtonClick(0);
  TGridTable* sub = layers.GetDataValue(2, 0);
  ASSERT_TRUE(sub->FormVisible());
  EXPECT_TRUE(sub->IsModal());
  layers.Update();  // re-created, no longer modal
  EXPECT_EQ(editors.Created(), 3);
  EXPECT_FALSE(layers.IsModal());
  EXPECT_FALSE(sub->FormVisible());
  dynamic_cast<TTableColumn&>(layers.GetColumn(2)).ButtonClick(0);
  EXPECT_FALSE(sub->IsModal());
  layers.SetIntValue(0, 0, 2);  // the row's sub-table and its window are replaced
  EXPECT_EQ(layers.GetDataValue(2, 0)->FormVisible(), false);
  tables.reset();  // tables with open windows close them as they go
}

struct ControlCase {
  const char* name;
  int topRow;
  int count;
  const char* message;
};

class TableColumnControlsTest : public ::testing::TestWithParam<ControlCase> {};

TEST_P(TableColumnControlsTest, AllocationChecksItsRows) {
  const ControlCase& c = GetParam();
  testing::TEditorFactoryScope editors(PlainFamily());
  LayerTables<PlainFamilyKinds> tables;
  TGridTable& layers = *tables.layers;
  layers.Show();
  TColumn& data = layers.GetColumn(2);
  EXPECT_EQ(MessageOf([&] { data.AllocateControls(layers.ColControlParent(), c.topRow, c.count); }),
            c.message);
  layers.Hide();
}

INSTANTIATE_TEST_SUITE_P(Rows, TableColumnControlsTest,
                         ::testing::Values(ControlCase{"AllRows", 0, 2, ""},
                                           ControlCase{"LastRow", 1, 1, ""},
                                           ControlCase{"TopBeyond", 2, 1, "ATopRow 2"},
                                           ControlCase{"TopNegative", -1, 1, "ATopRow -1"},
                                           ControlCase{"CountZero", 0, 0, "ACount 0"},
                                           ControlCase{"CountBeyond", 1, 2, "ACount 2"}),
                         [](const auto& info) { return info.param.name; });

TEST(GridTableEditor, ControlsNeedAParent) {
  TGridTable table;
  Add<TEnumColumn>(table, TEnumColumn::Class());
  table.SetRowCount(1);
  EXPECT_EQ(MessageOf([&] { table.GetColumn(0).AllocateControls(nullptr, 0, 1); }), "null parent");
}

}  // namespace
}  // namespace korvan

namespace korvan {
namespace {

using testing::Add;
using testing::MessageOf;

// ---------------------------------------------------------------- columns

struct WidthCase {
  const char* name;
  const TColumnClass& (*columnClass)();
  int headingPixels;  // width the window measures for the widest heading
  int expected;       // at 96 pixels per inch
};

class DisplayWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(DisplayWidthTest, WidestHeadingOrTheKindsMinimum) {
  const WidthCase& c = GetParam();
  TGridTable table;
  TColumn& column = table.AddColumn(c.columnClass());
  column.SetHeading({"a", "b"});
  if (auto* text = dynamic_cast<TStringColumn*>(&column)) text->SetMinWidth(1.25L);
  TTextMeasure measure;
  measure.PixelsPerInch = 96;
  measure.TextWidth = [&](const QString& line) {
    EXPECT_TRUE(line.endsWith("  ")) << line.toStdString();
    return line.startsWith("b") ? c.headingPixels : 1;
  };
  EXPECT_EQ(column.DisplayWidth(measure), c.expected);
}

const TColumnClass& Enums() {
  return TEnumColumn::Class();
}
const TColumnClass& Ints() {
  return TIntColumn::Class();
}
const TColumnClass& Floats() {
  return TFloatColumn::Class();
}
const TColumnClass& Tables() {
  return TTableColumn::Class();
}
const TColumnClass& Strings() {
  return TStringColumn::Class();
}

INSTANTIATE_TEST_SUITE_P(Kinds, DisplayWidthTest,
                         ::testing::Values(WidthCase{"IntMinimum", Ints, 10, 48},
                                           WidthCase{"IntHeading", Ints, 60, 60},
                                           WidthCase{"FloatMinimum", Floats, 10, 48},
                                           WidthCase{"EnumMinimum", Enums, 100, 144},
                                           WidthCase{"EnumHeading", Enums, 150, 150},
                                           WidthCase{"TableMinimum", Tables, 150, 192},
                                           WidthCase{"StringMinimum", Strings, 100, 120},
                                           WidthCase{"StringHeading", Strings, 121, 121}),
                         [](const auto& info) { return info.param.name; });

TEST(GridTableColumns, ReplacedColumnKeepsHeadingsVisibilityAndGrouping) {
  TGridTable table;
  auto& old = Add<TFloatColumn>(table, TFloatColumn::Class());
  old.SetHeading({"Depth"});
  old.SetVisible(false);
  old.SetSameGroup(true);
  Add<TIntColumn>(table, TIntColumn::Class());
  table.SetRowCount(3);
  TColumn& fresh = table.ReplaceColumn(0, TStringColumn::Class());
  EXPECT_EQ(&table.GetColumn(0), &fresh);
  EXPECT_EQ(fresh.Heading(), QStringList{"Depth"});
  EXPECT_FALSE(fresh.Visible());
  EXPECT_TRUE(fresh.SameGroup());
  EXPECT_EQ(fresh.Count(), 3);
  EXPECT_EQ(table.VisibleColCount(), 1);
  EXPECT_EQ(&table.VisibleColumn(0), &table.GetColumn(1));
  EXPECT_EQ(table.VisibleIndexOf(&fresh), -1);
  EXPECT_EQ(MessageOf([&] { table.VisibleColumn(1); }), "Index out of bounds");
  table.DeleteColumn(0);
  EXPECT_EQ(table.ColCount(), 1);
  EXPECT_EQ(MessageOf([&] { table.DeleteColumn(1); }), "Index out of bounds");
}

TEST(GridTableCopies, CopyTakesTheDefinitionButNoValues) {
  TGridTableChart source;
  source.SetCaption("t-z curve");
  source.SetComments("note");
  source.SetTopLeft("Location");
  source.SetMinRows(3);
  source.SetMaxRows(100);
  source.SetVisibleChart(true);
  source.SetXcolumn(1);
  source.SetInvertedYAxis(true);
  source.SetGetDataFromFile(true);
  auto& load = Add<TFloatColumn>(source, TFloatColumnChart::Class());
  load.SetUnitsString("F/L^2");
  load.SetDefault(1.5L);
  source.SetRowCount(5);
  load.SetFloatValue(0, 99);

  TGridTableChart owner;
  std::unique_ptr<TGridTable> copy(TGridTable::CreateCopy(&owner, 4, source));
  auto* chart = dynamic_cast<TGridTableChart*>(copy.get());
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(copy->Caption(), "t-z curve");
  EXPECT_EQ(copy->Comments(), "note");
  EXPECT_EQ(copy->TopLeft(), "Location");
  EXPECT_EQ(copy->MaxRows(), 100);
  EXPECT_EQ(copy->RowCount(), 3);
  EXPECT_EQ(copy->ID(), 4);
  EXPECT_EQ(copy->IDPath(), " 4");
  // A row of another table: that table is its owner, its holder alone frees it.
  EXPECT_EQ(copy->OwnerTable(), &owner);
  EXPECT_EQ(copy->parent(), nullptr);
  EXPECT_EQ(copy->GetFloatValue(0, 0), 1.5L);
  EXPECT_EQ(&copy->GetColumn(0).ClassType(), &TFloatColumnChart::Class());
  EXPECT_TRUE(chart->VisibleChart());
  EXPECT_EQ(chart->Xcolumn(), 1);
  EXPECT_TRUE(chart->InvertedYAxis());
  EXPECT_TRUE(chart->GetDataFromFile());
  EXPECT_NE(copy->Identifier(), source.Identifier());
}

}  // namespace
}  // namespace korvan
