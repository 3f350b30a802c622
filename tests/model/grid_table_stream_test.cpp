#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <type_traits>

#include "model/TableErrors.h"
#include "model/ValueStream.h"
#include "support/grid_table_support.h"

namespace korvan {
namespace {

using testing::Add;
using testing::ChartFamilyKinds;
using testing::MessageOf;
using testing::PlainFamilyKinds;

// ---------------------------------------------------------------- value encoding

class ExtendedRoundTripTest : public ::testing::TestWithParam<long double> {};

TEST_P(ExtendedRoundTripTest, ReadsBackTheSameReal) {
  const long double value = GetParam();
  TValueWriter writer;
  writer.WriteFloat(value);
  TValueReader reader(writer.Bytes());
  const long double read = reader.ReadFloat();
  EXPECT_TRUE(reader.AtEnd());
  if (std::isnan(value)) {
    EXPECT_TRUE(std::isnan(read));
  } else {
    EXPECT_EQ(read, value);
    EXPECT_EQ(std::signbit(read), std::signbit(value));
  }
}

INSTANTIATE_TEST_SUITE_P(Reals, ExtendedRoundTripTest,
                         ::testing::Values(0.0L, -0.0L, 1.0L, 0.9L, 1.0L / 3.0L, -224.8089237L,
                                           1e-300L, std::numeric_limits<long double>::max(),
                                           std::numeric_limits<long double>::lowest(),
                                           std::numeric_limits<long double>::denorm_min(),
                                           std::numeric_limits<long double>::infinity(),
                                           -std::numeric_limits<long double>::infinity(),
                                           std::numeric_limits<long double>::quiet_NaN()));

TEST(ValueStream, ValuesOfAnotherTypeOrPastTheEndAreRefused) {
  TValueWriter writer;
  writer.WriteInteger(-7);
  writer.WriteString(QString::fromUtf8("Sch\xc3\xa4rfe"));
  TValueReader reader(writer.Bytes());
  EXPECT_EQ(MessageOf([&] { reader.ReadString(); }), "Invalid property value");
  EXPECT_EQ(reader.ReadInteger(), -7);  // the refused read left the position alone
  EXPECT_EQ(reader.ReadString(), QString::fromUtf8("Sch\xc3\xa4rfe"));
  EXPECT_EQ(MessageOf([&] { reader.ReadBoolean(); }), "Stream read error");

  QByteArray truncated = writer.Bytes();
  truncated.chop(3);  // the string claims more bytes than remain
  TValueReader shortReader(truncated);
  shortReader.ReadInteger();
  EXPECT_EQ(MessageOf([&] { shortReader.ReadString(); }), "Stream read error");
}

// ---------------------------------------------------------------- column round trip

template <class Kinds>
void BuildEveryKind(TGridTable& table) {
  auto& choice = Add<TEnumColumn>(table, Kinds::Enum());
  choice.SetHeading({"Soil Type", "second line"});
  choice.SetNames({"Clay", "Sand", "Rock"});
  auto& count = Add<TIntColumn>(table, Kinds::Int());
  count.SetDefault(7);
  count.SetMinimum(-3);
  count.SetMaximum(9);
  count.SetSameGroup(true);
  auto& top = Add<TFloatColumn>(table, Kinds::Float());
  top.SetTopDepth(true);
  top.SetUnitsString("F/L^2");
  top.SetDefault(0.1L);
  auto& bottom = Add<TFloatColumn>(table, Kinds::Float());
  bottom.SetVisible(false);
  auto& data = Add<TTableColumn>(table, Kinds::Table_());
  data.Templates().Resize(0);
  data.Templates().AddByIdent(904);
  data.Templates().AddByIdent(-1);
  data.Templates().AddByIdent(905);
  auto& note = Add<TStringColumn>(table, Kinds::String());
  note.SetHeading({QString::fromUtf8("Bemerkung \xc2\xb2")});
  note.SetDefault("n/a");
  note.SetMinWidth(1.5L);
}

template <class Kinds>
class ColumnStreamTest : public ::testing::Test {};
using Families = ::testing::Types<PlainFamilyKinds, ChartFamilyKinds>;
TYPED_TEST_SUITE(ColumnStreamTest, Families);

TYPED_TEST(ColumnStreamTest, EveryColumnKindRoundTrips) {
  typename TypeParam::Table source;
  BuildEveryKind<TypeParam>(source);
  constexpr bool kChart = std::is_same_v<typename TypeParam::Table, TGridTableChart>;
  if constexpr (kChart) {
    source.SetVisibleChart(true);
    source.SetXcolumn(2);
    source.SetYcolumn(3);
    source.SetY2column(-1);
  }
  TValueWriter writer;
  source.WriteColumns(writer);

  typename TypeParam::Table target;
  target.SetRowCount(2);
  int majorChanges = 0;
  QObject::connect(&target, &TGridTable::majorChange, &target, [&] { ++majorChanges; });
  TValueReader reader(writer.Bytes());
  target.ReadColumns(reader);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(majorChanges, 1);
  ASSERT_EQ(target.ColCount(), 6);

  for (int col = 0; col < 6; ++col) {
    EXPECT_EQ(&target.GetColumn(col).ClassType(), &source.GetColumn(col).ClassType()) << col;
    EXPECT_EQ(target.GetColumn(col).Heading(), source.GetColumn(col).Heading()) << col;
    EXPECT_EQ(target.GetColumn(col).Visible(), source.GetColumn(col).Visible()) << col;
    EXPECT_EQ(target.GetColumn(col).SameGroup(), source.GetColumn(col).SameGroup()) << col;
    EXPECT_EQ(target.GetColumn(col).Count(), 2) << col;
  }
  EXPECT_EQ(target.GetColumn(0).GetEnumStr(2), "Rock");
  const auto& count = dynamic_cast<const TIntColumn&>(target.GetColumn(1));
  EXPECT_EQ(count.Default(), 7);
  EXPECT_EQ(count.Minimum(), -3);
  EXPECT_EQ(count.Maximum(), 9);
  EXPECT_EQ(count.GetIntValue(1), 7);
  const auto& top = dynamic_cast<const TFloatColumn&>(target.GetColumn(2));
  EXPECT_TRUE(top.TopDepth());
  EXPECT_EQ(top.UnitsString(), "F/L^2");
  EXPECT_EQ(top.Default(), 0.1L);
  EXPECT_EQ(top.GetFloatValue(0), 0.1L);
  const auto& data = dynamic_cast<const TTableColumn&>(target.GetColumn(4));
  ASSERT_EQ(data.Templates().Count(), 3);
  EXPECT_EQ(data.Templates().Item(0).Value, 904);
  EXPECT_EQ(data.Templates().Item(1).Value, -1);
  EXPECT_EQ(data.Templates().Item(2).Value, 905);
  const auto& note = dynamic_cast<const TStringColumn&>(target.GetColumn(5));
  EXPECT_EQ(note.Default(), "n/a");
  EXPECT_EQ(note.MinWidth(), 1.5L);
  EXPECT_EQ(note.GetStringValue(1), "n/a");
  if constexpr (kChart) {
    EXPECT_TRUE(target.VisibleChart());
    EXPECT_FALSE(target.RowsOption());
    EXPECT_EQ(target.Xcolumn(), 2);
    EXPECT_EQ(target.Ycolumn(), 3);
    EXPECT_EQ(target.Y2column(), -1);
  }

  TValueWriter again;
  target.WriteColumns(again);
  EXPECT_EQ(again.Bytes(), writer.Bytes());
}

TYPED_TEST(ColumnStreamTest, SixChoicesGiveSixTemplateElementsWhateverTheStreamListed) {
  for (const int listed : {0, 2, 6, 9}) {
    TValueWriter writer;
    writer.WriteInteger(2);
    writer.WriteInteger(0);  // enumeration
    writer.WriteListStart();
    writer.WriteListEnd();
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteListStart();
    for (int name = 1; name <= 6; ++name) writer.WriteString(QString("Soil %1").arg(name));
    writer.WriteListEnd();
    writer.WriteInteger(3);  // table
    writer.WriteListStart();
    writer.WriteListEnd();
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteString("FLEXCOLUMN2");
    writer.WriteListStart();
    for (int i = 0; i < listed; ++i) writer.WriteInteger(910 + i);
    writer.WriteListEnd();
    if constexpr (std::is_same_v<typename TypeParam::Table, TGridTableChart>) {
      writer.WriteBoolean(false);
      writer.WriteBoolean(false);
      for (int i = 0; i < 4; ++i) writer.WriteInteger(0);
    }
    typename TypeParam::Table table;
    TValueReader reader(writer.Bytes());
    table.ReadColumns(reader);
    const auto& data = dynamic_cast<const TTableColumn&>(table.GetColumn(1));
    ASSERT_EQ(data.Templates().Count(), 6) << listed;
    EXPECT_EQ(data.Templates().TableIndices(5), -1) << listed;
    if (listed >= 2) {
      EXPECT_EQ(data.Templates().Item(1).Value, 911) << listed;
    }
  }
}

// ---------------------------------------------------------------- older layouts

// One float column as older programs wrote it: the unit code right after
// TopDepth and no default; then a string column to show nothing is skipped.
QByteArray OldFloatLayout() {
  TValueWriter writer;
  writer.WriteInteger(2);
  writer.WriteInteger(2);
  writer.WriteListStart();
  writer.WriteString("Depth");
  writer.WriteListEnd();
  writer.WriteBoolean(true);
  writer.WriteBoolean(false);
  writer.WriteBoolean(false);
  writer.WriteString("L");
  writer.WriteInteger(4);
  writer.WriteListStart();
  writer.WriteListEnd();
  writer.WriteBoolean(true);
  writer.WriteBoolean(false);
  writer.WriteString("none");
  writer.WriteFloat(2.0L);
  return writer.Bytes();
}

TEST(ColumnStreamOlderLayout, FloatColumnWithoutDefaultReadsDefaultZero) {
  TGridTable table;
  table.SetRowCount(2);
  TValueReader reader(OldFloatLayout());
  table.ReadColumns(reader);
  EXPECT_TRUE(reader.AtEnd());
  const auto& depth = dynamic_cast<const TFloatColumn&>(table.GetColumn(0));
  EXPECT_EQ(depth.UnitsString(), "L");
  EXPECT_EQ(depth.Default(), 0.0L);
  EXPECT_EQ(depth.GetFloatValue(1), 0.0L);
  EXPECT_EQ(table.GetStringValue(1, 0), "none");
}

struct OldTableCase {
  const char* name;
  bool enumFirst;  // else the table column is column 0
  bool hardwired;
  std::vector<TIntWrapper> expected;
};

class OldTableColumnTest : public ::testing::TestWithParam<OldTableCase> {};

TEST_P(OldTableColumnTest, TemplatesComeFromTheSingleNumber) {
  const OldTableCase& c = GetParam();
  TValueWriter writer;
  writer.WriteInteger(c.enumFirst ? 2 : 1);
  if (c.enumFirst) {
    writer.WriteInteger(0);
    writer.WriteListStart();
    writer.WriteListEnd();
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteListStart();
    for (const char* name : {"a", "b", "c"}) writer.WriteString(name);
    writer.WriteListEnd();
  }
  writer.WriteInteger(3);
  writer.WriteListStart();
  writer.WriteListEnd();
  writer.WriteBoolean(true);
  writer.WriteBoolean(false);
  writer.WriteString("FLEXCOLUMN");
  writer.WriteInteger(4);
  TGridTable table;
  table.SetHardwiredButton(c.hardwired);
  TValueReader reader(writer.Bytes());
  table.ReadColumns(reader);
  const auto& templates =
      dynamic_cast<const TTableColumn&>(table.GetColumn(table.ColCount() - 1)).Templates();
  ASSERT_EQ(templates.Count(), static_cast<int>(c.expected.size()));
  for (int i = 0; i < templates.Count(); ++i) {
    EXPECT_EQ(templates.Item(i).ByIdentifier, c.expected[static_cast<size_t>(i)].ByIdentifier) << i;
    EXPECT_EQ(templates.Item(i).Value, c.expected[static_cast<size_t>(i)].Value) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, OldTableColumnTest,
    ::testing::Values(
        OldTableCase{"NoColumnBefore", false, false, {{false, 4}}},
        OldTableCase{"ChoicesByIdentifier", true, false, {{true, 1}, {true, 2}, {true, 3}}},
        OldTableCase{"HardwiredChoices", true, true, {{false, 4}, {false, 4}, {false, 4}}}),
    [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------- failures

struct StreamErrorCase {
  const char* name;
  bool chart;
  std::function<void(TValueWriter&)> write;
  const char* message;
  int columnsKept;
};

void WriteStringColumn(TValueWriter& writer) {
  writer.WriteInteger(4);
  writer.WriteListStart();
  writer.WriteListEnd();
  writer.WriteBoolean(true);
  writer.WriteBoolean(false);
  writer.WriteString("");
  writer.WriteFloat(1.0L);
}

class ColumnStreamErrorTest : public ::testing::TestWithParam<StreamErrorCase> {};

TEST_P(ColumnStreamErrorTest, ReportsTheExactMessageAndKeepsWhatWasRead) {
  const StreamErrorCase& c = GetParam();
  TValueWriter writer;
  c.write(writer);
  std::unique_ptr<TGridTable> table;
  if (c.chart) {
    table = std::make_unique<TGridTableChart>();
  } else {
    table = std::make_unique<TGridTable>();
  }
  TValueReader reader(writer.Bytes());
  try {
    table->ReadColumns(reader);
    FAIL() << "no error";
  } catch (const EReadError& error) {
    EXPECT_EQ(error.Message(), c.message);
  }
  EXPECT_EQ(table->ColCount(), c.columnsKept);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, ColumnStreamErrorTest,
    ::testing::Values(
        StreamErrorCase{"Empty", false, [](TValueWriter&) {}, "Error reading column count", 0},
        StreamErrorCase{"CountNotInteger", false, [](TValueWriter& w) { w.WriteString("2"); },
                        "Error reading column count", 0},
        StreamErrorCase{"NegativeCount", false, [](TValueWriter& w) { w.WriteInteger(-1); },
                        "Error reading column count", 0},
        StreamErrorCase{"UnknownKind", false,
                        [](TValueWriter& w) {
                          w.WriteInteger(1);
                          w.WriteInteger(5);
                        },
                        "Error Column Class not defined", 0},
        StreamErrorCase{"TruncatedSecondColumn", false,
                        [](TValueWriter& w) {
                          w.WriteInteger(2);
                          WriteStringColumn(w);
                          w.WriteInteger(1);
                          w.WriteListStart();
                          w.WriteListEnd();
                          w.WriteBoolean(true);
                        },
                        "Error occured when creating column 1: Stream read error", 1},
        StreamErrorCase{"WrongValueType", false,
                        [](TValueWriter& w) {
                          w.WriteInteger(1);
                          w.WriteInteger(2);
                          w.WriteListStart();
                          w.WriteListEnd();
                          w.WriteBoolean(true);
                          w.WriteBoolean(false);
                          w.WriteString("FLOATCOLUMN2");
                        },
                        "Error occured when creating column 0: Invalid property value", 0},
        StreamErrorCase{"LargestColumnCount", false,
                        [](TValueWriter& w) {
                          w.WriteInteger(INT32_MAX);
                          WriteStringColumn(w);
                        },
                        "Error occured when creating column 1: Stream read error", 1},
        StreamErrorCase{"MissingChartSettings", true,
                        [](TValueWriter& w) {
                          w.WriteInteger(1);
                          WriteStringColumn(w);
                          w.WriteBoolean(true);
                        },
                        "Error reading graphic parameters", 1}),
    [](const auto& info) { return info.param.name; });

// A string that claims 2^31 - 1 bytes or more ends the reading at once,
// before any memory is taken for it; the same column with its true length
// reads.
TEST(ColumnStream, StringLengthsBeyondTheStreamAreRefused) {
  for (const std::uint32_t length : {std::uint32_t{4}, std::uint32_t{INT32_MAX}, UINT32_MAX}) {
    TValueWriter writer;
    writer.WriteInteger(1);
    writer.WriteInteger(4);
    writer.WriteListStart();
    const qsizetype lengthAt = writer.Bytes().size() + 1;
    writer.WriteString("Name");
    writer.WriteListEnd();
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteString("");
    writer.WriteFloat(1.0L);
    QByteArray bytes = writer.Bytes();
    for (int i = 0; i < 4; ++i) bytes[lengthAt + i] = static_cast<char>(length >> (8 * i));
    TGridTable table;
    TValueReader reader(bytes);
    EXPECT_EQ(MessageOf([&] { table.ReadColumns(reader); }),
              length == 4 ? QString() : "Error occured when creating column 0: Stream read error")
        << length;
  }
}

}  // namespace
}  // namespace korvan
