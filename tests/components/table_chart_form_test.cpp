#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLegend>
#include <QTemporaryDir>

#include "components/ChartPreview.h"
#include "support/message_capture.h"
#include "table_form_support.h"

namespace korvan {
namespace {

using testing::EditorWindowTest;
using testing::FloatChartTable;
using testing::TMessageCapture;

std::vector<std::vector<long double>> Values(const TGridTable& table) {
  std::vector<std::vector<long double>> rows;
  for (int row = 0; row < table.RowCount(); ++row) {
    rows.emplace_back();
    for (int col = 0; col < table.ColCount(); ++col)
      rows.back().push_back(table.GetFloatValue(col, row));
  }
  return rows;
}

TEST_F(EditorWindowTest, AxisTitlesTooLongForTheirAxisAreSetSmallerNotCut) {
  struct Case {
    QString depth;
    QString value;
    bool depthSmaller;
  };
  const QString longDepth = QStringLiteral("Depth (from pile top) (ft)");
  for (const Case& c : {Case{"Depth", "AE", false}, Case{longDepth, "AE", true}}) {
    auto table = FloatChartTable({c.depth, c.value}, 3);
    for (int row = 0; row < 3; ++row) {
      table->SetFloatValue(0, row, 10.0L * row);
      table->SetFloatValue(1, row, 1.0e6L * (row + 1));
    }
    auto* form = Open<TTableChartForm>(*table);
    ASSERT_NE(form, nullptr);
    QApplication::processEvents();
    const QRectF plot = form->Chart1()->chart()->plotArea();
    ASSERT_GT(plot.height(), 0);
    const QFont left = form->LeftAxis()->titleFont();
    const QFont base = form->BottomAxis()->titleFont();
    EXPECT_EQ(form->LeftAxis()->titleText(), c.depth);
    EXPECT_LE(QFontMetricsF(left).horizontalAdvance(c.depth), plot.height())
        << left.pointSizeF() << " " << QFontMetricsF(base).horizontalAdvance(c.depth);
    EXPECT_EQ(left.pointSizeF() < form->BottomAxis()->titleFont().pointSizeF(), c.depthSmaller)
        << c.depth.toStdString();
    form->close();
  }
}

TEST_F(EditorWindowTest, ThreeColumnTablesDrawTwoCurvesWithALegendTitledFromTheirHeadings) {
  auto table = FloatChartTable({"Depth", "t-Multiplier", "z-Multiplier"}, 3);
  table->SetInvertedYAxis(true);
  for (int row = 0; row < 3; ++row) {
    table->SetFloatValue(0, row, 10.0L * row);
    table->SetFloatValue(1, row, 1.0L + row);
    table->SetFloatValue(2, row, 0.5L);
  }
  auto* form = Open<TTableChartForm>(*table);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->Chart1()->chart()->legend()->isVisible());
  EXPECT_EQ(form->Series1()->name(), "t-Multiplier");
  EXPECT_EQ(form->Series2()->name(), "z-Multiplier");
  EXPECT_TRUE(form->Series2()->isVisible());
  EXPECT_EQ(form->Series1()->at(2), QPointF(3, 20));
  EXPECT_EQ(form->Series2()->at(2), QPointF(0.5, 20));
  EXPECT_EQ(form->BottomAxis()->titleText(), "t-Multiplier");
  EXPECT_EQ(form->LeftAxis()->titleText(), "Depth");
  EXPECT_TRUE(form->LeftAxis()->isReverse());
  EXPECT_EQ(form->Series1()->pen().color(), QColor(Qt::red));

  // A two-column table draws one curve without a legend, titled with units.
  auto curve = FloatChartTable({"Total Tip Load (Q),", "Tip Movement (w),"}, 2);
  dynamic_cast<TFloatColumn&>(curve->GetColumn(1)).SetUnitsString("L");
  auto* single = Open<TTableChartForm>(*curve);
  EXPECT_FALSE(single->Chart1()->chart()->legend()->isVisible());
  EXPECT_FALSE(single->Series2()->isVisible());
  EXPECT_EQ(single->BottomAxis()->titleText(), "Tip Movement (w), (in)");
}

TEST_F(EditorWindowTest, FlatDataStillDrawsOnAnAxisTenPercentEitherSideInOrder) {
  struct Case {
    long double depth;
    double low, high;
  };
  for (const Case c : {Case{50, 45, 55}, Case{-20, -22, -18}, Case{0, -1, 1}}) {
    auto table = FloatChartTable({"Depth,", "Settlement,"}, 3);
    for (int row = 0; row < 3; ++row) {
      table->SetFloatValue(0, row, c.depth);
      table->SetFloatValue(1, row, row);
    }
    auto* form = Open<TTableChartForm>(*table);
    EXPECT_DOUBLE_EQ(form->LeftAxis()->min(), c.low) << static_cast<double>(c.depth);
    EXPECT_DOUBLE_EQ(form->LeftAxis()->max(), c.high) << static_cast<double>(c.depth);
    EXPECT_DOUBLE_EQ(form->Series1()->at(1).y(), static_cast<double>(c.depth) * 1.001);
  }
}

TEST_F(EditorWindowTest, AxisNumbersFollowTheirFormats) {
  struct Case {
    double min, max;
    TAxisFormat format;
    double value;
    const char* text;
  };
  for (const Case c : {Case{0, 1500, TAxisFormat::Plain, 1234.5, "1,234.5"},
                       Case{0, 2, TAxisFormat::Plain, 0.25, "0.25"},
                       Case{0, 4e8, TAxisFormat::Scientific, 150000, "1.5E5"},
                       Case{0, 0.0005, TAxisFormat::Scientific, 0.0002, "2.0E-4"},
                       Case{0, 0, TAxisFormat::Plain, -1000, "-1,000"}}) {
    EXPECT_EQ(AxisFormatFor(c.min, c.max), c.format) << c.text;
    EXPECT_EQ(FormatAxisNumber(c.value, c.format), QLatin1String(c.text));
  }
  EXPECT_EQ(FormatAxisNumber(12345, TAxisFormat::Whole), "12,345");
  EXPECT_EQ(AxisTicks(0, 10), (std::vector<double>{0, 2, 4, 6, 8, 10}));
}

// `count` lines "k,k" from k = 1, and the rows they fill.
std::string CountedLines(int count) {
  std::string text;
  for (int k = 1; k <= count; ++k) text += std::to_string(k) + "," + std::to_string(k) + "\n";
  return text;
}
std::vector<std::vector<long double>> CountedRows(int count) {
  std::vector<std::vector<long double>> rows;
  for (int k = 1; k <= count; ++k) rows.push_back({static_cast<long double>(k), k * 1.0L});
  return rows;
}

TEST_F(EditorWindowTest, PastingReadsLinesEndedAnyWayAndLeavesJustThePastedRows) {
  struct Case {
    std::string text;
    std::vector<std::vector<long double>> rows;
    const char* message;
    int maxRows = 100;
  };
  const std::vector<Case> cases{
      {"1,2\r\n3,4\r\n", {{1, 2}, {3, 4}}, "2 row(s) were copied from the Clipboard"},
      {"1,2\n3,4\n5,6", {{1, 2}, {3, 4}, {5, 6}}, "3 row(s) were copied from the Clipboard"},
      {"1\t2\r3 4\r", {{1, 2}, {3, 4}}, "2 row(s) were copied from the Clipboard"},
      {"depth,settlement\n1,2\nx\n3,4,5\n", {{1, 2}}, "1 row(s) were copied from the Clipboard"},
      {"1,2,3\n",
       {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}},
       "No data was copied from the Clipboard"},
      // More rows than the table holds: the message says how many were left.
      {CountedLines(1000), CountedRows(50),
       "50 of 1000 rows were copied; the table holds at most 50", 50},
      {CountedLines(51), CountedRows(50), "50 of 51 rows were copied; the table holds at most 50",
       50},
      {CountedLines(50), CountedRows(50), "50 row(s) were copied from the Clipboard", 50},
      // A number the project cannot keep refuses its line, named; the other
      // lines are copied, and no row is half filled.
      {"1,2\n3,1e999\n1e101,4\n5,6\n",
       {{1, 2}, {5, 6}},
       "2 row(s) were copied from the Clipboard\n2 line(s) were not copied:\nLine 2: Entry must "
       "be less than or equal to 1.1897315E100\nLine 3: Entry must be less than or equal to "
       "1.1897315E100"},
      {"-2e100,1\n",
       {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}},
       "No data was copied from the Clipboard\n1 line(s) were not copied:\nLine 1: Entry must be "
       "greater than or equal to -1.1897315E100"},
  };
  for (const Case& c : cases) {
    auto table = FloatChartTable({"Depth,", "Settlement,"}, 5, 1, c.maxRows);
    auto* form = Open<TTableChartForm>(*table);
    QGuiApplication::clipboard()->setText(QString::fromStdString(c.text));
    TMessageCapture messages;
    form->BtnClipClick();
    const std::string shown = c.text.substr(0, 40);
    EXPECT_EQ(Values(*table), c.rows) << shown;
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{c.message}) << shown;
    EXPECT_EQ(form->Grid()->rowCount(), static_cast<int>(c.rows.size()));
    EXPECT_EQ(table->Changed(), c.rows != Values(*FloatChartTable({"Depth,", "Settlement,"}, 5, 1)))
        << shown;
  }
  auto table = FloatChartTable({"Depth,", "Settlement,"}, 2);
  auto* form = Open<TTableChartForm>(*table);
  QGuiApplication::clipboard()->clear();
  TMessageCapture messages;
  form->BtnClipClick();
  EXPECT_EQ(messages.Messages(),
            std::vector<std::string>{"There is no text available on the Clipboard"});
}

TEST_F(EditorWindowTest, CopiedRowsPasteBackIntoTheTable) {
  auto table = FloatChartTable({"Depth,", "Settlement,"}, 3);
  for (int row = 0; row < 3; ++row) {
    table->SetFloatValue(0, row, row * 2.5L);
    table->SetFloatValue(1, row, 0.125L);
  }
  auto* form = Open<TTableChartForm>(*table);
  TMessageCapture messages;
  form->BtnCpyClick();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "0,0.125\r\n2.5,0.125\r\n5,0.125\r\n");
  auto copy = FloatChartTable({"Depth,", "Settlement,"}, 2);
  Open<TTableChartForm>(*copy)->BtnClipClick();
  EXPECT_EQ(Values(*copy), Values(*table));
  EXPECT_EQ(messages.Messages(),
            (std::vector<std::string>{"Data was copied to the Clipboard",
                                      "3 row(s) were copied from the Clipboard"}));
}

TEST_F(EditorWindowTest, ReadingAFileFillsRowsOfMatchingLinesUpToMaxRows) {
  QTemporaryDir folder;
  struct Case {
    const char* content;
    int maxRows;
    std::vector<std::vector<long double>> rows;
    const char* message;  // after the line naming the file; none when nothing was left out
  };
  const std::vector<Case> cases{
      {"1 2 3\n4 5 6\n", 100, {{7, 7}, {7, 7}, {7, 7}}, ""},  // three numbers, two columns
      {"1.5 2", 100, {{1.5L, 2}, {7, 7}}, ""},                // a single line without a break
      {"1,2\n3,4\n5,6\n7,8\n",
       3,
       {{1, 2}, {3, 4}, {5, 6}},
       "3 of 4 rows were read; the table holds at most 3"},
      {"1,2\n3,4\n5,6\n", 3, {{1, 2}, {3, 4}, {5, 6}}, ""},
      {"1,2\n3,4e200\n5,6\n",
       100,
       {{1, 2}, {5, 6}},
       "1 line(s) were not read:\nLine 2: Entry must be less than or equal to 1.1897315E100"},
  };
  for (const Case& c : cases) {
    const QString path = folder.filePath(QStringLiteral("values.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(c.content);
    file.close();
    auto table = FloatChartTable({"Depth,", "Settlement,"}, 3, 2, c.maxRows);
    for (int row = 0; row < 3; ++row) {
      table->SetFloatValue(0, row, 7);
      table->SetFloatValue(1, row, 7);
    }
    table->ResetChanged();
    auto* form = Open<TTableChartForm>(*table);
    EXPECT_FALSE(form->BtnRead()->isEnabled());
    form->FileNameEdit()->setText(path);
    EXPECT_TRUE(form->BtnRead()->isEnabled());
    TMessageCapture messages;
    form->BtnReadClick();
    EXPECT_EQ(Values(*table), c.rows) << c.content;
    std::vector<std::string> expected;
    if (*c.message) expected.push_back("File " + path.toStdString() + ":\n" + c.message);
    EXPECT_EQ(messages.Messages(), expected) << c.content;
    EXPECT_EQ(table->Changed(), c.rows.front().front() != 7) << c.content;
  }
  auto table = FloatChartTable({"Depth,", "Settlement,"}, 2);
  auto* form = Open<TTableChartForm>(*table);
  form->FileNameEdit()->setText(folder.filePath(QStringLiteral("missing.txt")));
  TMessageCapture messages;
  form->BtnReadClick();
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].rfind("Cannot open file ", 0), 0u);
}

}  // namespace
}  // namespace korvan
