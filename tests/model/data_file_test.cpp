// The project data file as the program writes and reads it: exact number
// forms and layouts, round trips in both unit systems, the older
// generations, files that end early or hold impossible counts.
#include <QDir>
#include <clocale>
#include <cmath>

#include "model/Exceptions.h"
#include "support/comma_locale.h"
#include "support/project_fixtures.h"
#include "support/resource_limits.h"

namespace korvan::testing {
namespace {

// A complete file: one clay layer from the surface to 600 in, a 480 in pile
// of 12 in diameter, no loads, settlement or factors.
const char* const kExample = R"(Example pile
100 0 1
1 1
1
1 1 0.0 600.0
0.0625 10 0.0 0.01 0 0.0 0.0 8 90
0.0625 12 0.0 0.01 0 0.0 0.0 9 100
2
4.0E+08 0.0
4.0E+08 480.0
0.001 480.0 0.0 12.0 113.1
0
0
0
0
0
)";

// The example with one line (1-based) replaced; a replacement may span lines.
QString ExampleWith(int line, const QString& replacement) {
  QStringList lines = QString::fromLatin1(kExample).split(QLatin1Char('\n'));
  lines[line - 1] = replacement;
  return lines.join(QLatin1Char('\n'));
}

void Fill(TGridTable& table, int rows, int seed) {
  table.SetRowCount(rows);
  for (int column = 0; column < table.ColCount(); ++column) {
    for (int row = 0; row < rows; ++row) {
      if (IsTableColumn(table.GetColumn(column))) continue;
      // Ten significant digits, so that only the shown eight survive.
      const int k = seed + 7 * row + 3 * column;
      table.SetFloatValue(
          column, row, (k % 2 ? -1 : 1) * (1.0L + k * 0.123456789L) * std::pow(10.0L, k % 9 - 3));
    }
  }
}

// A project that fills every table it writes: user t-z curves with layers
// (tip movements, down-drag, both factor sets), or a user Q-w curve with
// layers and head loads.
void FillProject(TProgramData& data, int units, bool userTz) {
  data.SetUnits(units);
  TInputTables& tables = data.Tables();
  data.Title = QStringLiteral("Round trip, all tables");
  data.NINC = 120;
  data.PLength = 1234.5678912L;
  data.HeadCoord = -24.25L;
  data.OD = 0.0123456789L;
  data.Tiparea = 254.46900494L;
  data.Tolerance = 2.5E-7L;
  data.UserTz = userTz;
  data.UserQw = !userTz;
  data.Nloadmethod = userTz ? 1 : 2;
  data.downdrag = userTz ? 1 : 0;
  data.ModTZ = data.ModQw = userTz ? 1 : 0;
  if (userTz) {
    data.QFactor = 1.23456789L;
    data.wFactor = 0.987654321L;
  }
  TGridTable& layers = tables.SoilLayers();
  layers.SetRowCount(6);
  for (int layer = 0; layer < 6; ++layer) {
    layers.SetIntValue(0, layer, layer + 1);
    layers.SetFloatValue(1, layer, 100.5L * (layer + 1));
    Fill(*layers.GetDataValue(2, layer), 2, 10 * layer);
  }
  if (userTz) {
    TGridTable& depths = tables.TzCurves();
    Fill(depths, 3, 1);
    for (int curve = 0; curve < 3; ++curve) Fill(*depths.GetDataValue(1, curve), 2 + curve, curve);
    Fill(tables.TipMovements(), 4, 5);
    Fill(tables.SoilSettlement(), 3, 6);
    Fill(tables.TzFactors(), 4, 7);
  } else {
    Fill(tables.QwCurve(), 5, 2);
    Fill(tables.HeadLoads(), 3, 4);
  }
  Fill(tables.PileStiffness(), 3, 3);
}

class RoundTripTest : public ProjectTest,
                      public ::testing::WithParamInterface<std::pair<int, bool>> {};

TEST_P(RoundTripTest, GivesBackEveryShownCellAndSetting) {
  const auto [units, userTz] = GetParam();
  FillProject(Data(), units, userTz);
  const QStringList before = Snapshot(Data());
  const QString path = SaveAs(QStringLiteral("all.kv4d"));
  EXPECT_FALSE(Tables().GetDataChanged());
  EXPECT_EQ(Reopen(path), QString());
  EXPECT_EQ(Snapshot(Data()), before);
  EXPECT_TRUE(Data().Name1.isEmpty() && Data().Date1.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(BothUnitSystems, RoundTripTest,
                         ::testing::Values(std::pair{1, true}, std::pair{1, false},
                                           std::pair{2, true}, std::pair{2, false}));

// Read and saved again, a file comes back in the program's own forms: cells
// as shown, the pile's numbers to 8 digits, layer depths in 23 characters,
// placeholders for the properties a soil type does not use (read as 0),
// and no tip movements beside head loads.
TEST_F(ProjectTest, SavesWhatItReadsInItsOwnNumberForms) {
  const QString path = WriteFile(QStringLiteral("forms.kv4d"), QStringLiteral(R"(Forms
60 0 1
1 1
3
1 1 0.0 300
2 6 300.0 912.5
3 2 912.5 1.0E+03
0.0347 5 0.0 0.02 7 0.0 0.0 4 45
0.0694 10 0.0 0.04 14 0.0 0.0 8 90
0.0336 0.0 32 0.01 15 0.2 0.5 7 800
0.0672 0.0 64 0.02 30 0.4 0.5 14 1600
0.03 11 33 0.01 12 0.3 0.3 6 700
0.03 11 34 13 0.3 0.3 7 750
2
4.0E+08 0.0
3.5E+08 720.0
1.0E-06 720.0 -24.0 18.0 254.4690049
2
0.1 0.2
2
100000
-5000.5
0
1
2
0 1 1
600 1.5 1
1
1.2 123456789
)"));
  EXPECT_EQ(Reopen(path), QString());
  EXPECT_EQ(Tables().SoilLayers().GetDataValue(2, 2)->GetStringValue(1, 0), "0");  // c1 of sand
  EXPECT_EQ(Tables().TipMovements().RowCount(), 2);
  SaveAs(QStringLiteral("forms.kv4d"));
  EXPECT_EQ(QString::fromUtf8(ReadBytes(path)),
            "Forms\n60 0 1\n1 1\n3\n"
            "1 1 0.0  3.00000000000000E+0002\n"
            "2 6  3.00000000000000E+0002  9.12500000000000E+0002\n"
            "3 2  9.12500000000000E+0002  1.00000000000000E+0003\n"
            "0.0347 5 0.0   0.02 0 0.0   0.0   4 45\n"
            "0.0694 10 0.0   0.04 0 0.0   0.0   8 90\n"
            "0.0336 0.0   32 0 15 0.2 0.0   7 800\n"
            "0.0672 0.0   64 0 30 0.4 0.0   14 1600\n"
            "0.03 0.0   33 0 12 0.0   0.0   6 700\n"
            "0.03 0.0   34 0 13 0.0   0.0   7 750\n"
            "2\n4E8 0\n3.5E8 720\n"
            "1E-6 720 -24 18 254.469\n"
            " 0\n2\n100000\n-5000.5\n"
            " 0\n"
            " 1\n2\n0 1 1\n600 1.5 1\n"
            " 1\n1.2 1.2345679E8\n");
}

TEST_F(ProjectTest, SwitchesUnitsThereAndBack) {
  Data().PLength = 1000;
  Data().Tiparea = 100;
  Data().Tolerance = 1E-5;
  Tables().SoilLayers().SetFloatValue(1, 0, 600);
  Tables().SoilLayers().GetDataValue(2, 0)->SetFloatValue(7, 0, 14.5);  // psi
  Tables().TzFactors().SetFloatValue(1, 0, 0.8);                        // dimensionless
  Data().SetUnits(2);
  EXPECT_EQ(FormatGeneral(Data().Tiparea, 9), "0.064516");
  EXPECT_EQ(Tables().SoilLayers().GetStringValue(1, 0), "15.24");
  EXPECT_EQ(Tables().SoilLayers().GetDataValue(2, 0)->GetStringValue(7, 0), "99.973989");
  EXPECT_EQ(Tables().SoilLayers().GetDataValue(2, 0)->Units(), 2);
  const long double metres = Data().PLength;
  Data().SetUnits(7);  // clamped to SI, already in force
  EXPECT_EQ(Data().PLength, metres);
  Data().SetUnits(-1);
  EXPECT_EQ(Data().fUnits, 1);
  EXPECT_NEAR(static_cast<double>(Data().PLength), 1000, 1E-9);
  EXPECT_NEAR(static_cast<double>(Data().Tiparea), 100, 1E-9);
  EXPECT_NEAR(static_cast<double>(Data().Tolerance), 1E-5, 1E-17);
  EXPECT_EQ(Tables().SoilLayers().GetStringValue(1, 0), "600");
  EXPECT_EQ(Tables().TzFactors().GetStringValue(1, 0), "0.8");
}

struct OlderFileCase {
  const char* name;
  int format;
  const char* tail;  // after the soil settlement
  int modTz;
  const char* qFactor;
};

class OlderFileTest : public ProjectTest, public ::testing::WithParamInterface<OlderFileCase> {};

// Both curve sets from the user: t-z curves, stiffness, then the Q-w curve.
TEST_P(OlderFileTest, ReadsUserCurvesAroundTheStiffness) {
  const OlderFileCase& c = GetParam();
  const QString text = QStringLiteral(
                           "Old pile\n40 0 1\n1\n2\n1 120 2\n0 0\n4 0.05\n2 360 3\n0 0\n6 0.04\n"
                           "8.5 2\n2\n7.06E+08 0\n7.06E+08 540\n5\n0 0 60000 0.1 110000 0.3\n"
                           "140000 0.6 150000 2\n1.0E-05 540 17.8 196\n0\n0\n0\n") +
                       QString::fromLatin1(c.tail);
  EXPECT_EQ(Reopen(WriteFile(QString::fromLatin1(c.name), text), c.format), QString());
  EXPECT_TRUE(Data().UserTz && Data().UserQw);
  EXPECT_EQ(Data().METHOD, 1);
  const TGridTable& depths = Tables().TzCurves();
  ASSERT_EQ(depths.RowCount(), 2);
  EXPECT_EQ(depths.GetStringValue(0, 1), "360");
  EXPECT_EQ(depths.GetDataValue(1, 1)->RowCount(), 3);
  EXPECT_EQ(depths.GetDataValue(1, 1)->GetStringValue(0, 2), "8.5");
  EXPECT_EQ(Tables().PileStiffness().GetStringValue(0, 1), "540");
  EXPECT_EQ(Tables().PileStiffness().GetStringValue(1, 1), "7.06E8");
  ASSERT_EQ(Tables().QwCurve().RowCount(), 5);
  EXPECT_EQ(Tables().QwCurve().GetStringValue(0, 4), "150000");
  EXPECT_EQ(Data().HeadCoord, 0);
  EXPECT_EQ(Data().ModTZ, c.modTz);
  EXPECT_EQ(FormatGeneral(Data().QFactor, 8), c.qFactor);
  EXPECT_EQ(Tables().SoilLayers().RowCount(), 1);  // raised to its minimum
}

INSTANTIATE_TEST_SUITE_P(Generations, OlderFileTest,
                         ::testing::Values(OlderFileCase{"old.kvd", dfKorvan20, "", 0, "1"},
                                           OlderFileCase{"old.kv3d", dfKorvan2014,
                                                         "1\n2\n0 1 1\n600 2 2\n1\n1.5 2\n", 1,
                                                         "1.5"}));

TEST_F(ProjectTest, FileEndingInsideTheSettlementKeepsTheRowsRead) {
  const QString path =
      WriteFile("short.kv4d", ExampleWith(14, "4\n0 0.05\n6 0.03\n14").section('\n', 0, 16));
  QString message;
  ProgramData = TProgramData::CreateFromFile(Tables(), path, dfKorvan2021, message);
  EXPECT_EQ(message.toStdString(),
            "File \"" + path.toStdString() + "\":\nThis file either invalid or incomplete.");
  EXPECT_EQ(Data().FileName, path);
  EXPECT_EQ(FormatGeneral(Data().PLength, 8), "480");
  const TGridTable& settlement = Tables().SoilSettlement();
  ASSERT_EQ(settlement.RowCount(), 2);
  EXPECT_EQ(settlement.GetStringValue(0, 1), "6");
  EXPECT_EQ(settlement.GetStringValue(1, 1), "0.03");
  EXPECT_EQ(Tables().TzFactors().RowCount(), 2);  // never reached: raised to its minimum
  // What was read is not what the file holds: the project says so.
  EXPECT_TRUE(Tables().GetDataChanged());
  EXPECT_EQ(Data().IncompleteLine, 17);
}

struct ExampleCase {
  int line;
  const char* replacement;
  const char* message;  // after the line naming the file; empty when the whole file is read
  const char* pile;     // head coordinate, diameter, tip area
  int layers;           // rows of the soil layers afterwards
  int stopLine;         // where reading stopped; 0 when the whole file was read
};

class ExampleTest : public ProjectTest, public ::testing::WithParamInterface<ExampleCase> {};

// Reading stops at the word that fails, with a message naming it, and the
// project keeps what was read before.
TEST_P(ExampleTest, ReadsAsFarAsTheFileAllows) {
  const ExampleCase& c = GetParam();
  const QString path = WriteFile("example.kv4d", ExampleWith(c.line, c.replacement));
  const QString message = Reopen(path);
  EXPECT_EQ(message, *c.message
                         ? QStringLiteral("File \"%1\":\n").arg(path) + QString::fromUtf8(c.message)
                         : QString());
  // A project read in part is marked changed and knows where reading stopped.
  EXPECT_EQ(Data().IncompleteLine, c.stopLine);
  EXPECT_EQ(Tables().GetDataChanged(), c.stopLine > 0);
  EXPECT_EQ(Data().Title, "Example pile");
  EXPECT_EQ(QStringList({FormatGeneral(Data().HeadCoord, 8), FormatGeneral(Data().OD, 8),
                         FormatGeneral(Data().Tiparea, 8)})
                .join(QLatin1Char(' ')),
            c.pile);
  EXPECT_EQ(Tables().SoilLayers().RowCount(), c.layers);
  EXPECT_EQ(Tables().PileStiffness().RowCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    LinesAndCounts, ExampleTest,
    ::testing::Values(
        // Older writers left the head coordinate out of the pile line.
        ExampleCase{11, "0.001 480.0 -24 12.0 113.1", "", "-24 12 113.1", 1, 0},
        ExampleCase{11, "0.001 480.0 12.0 113.1", "", "0 12 113.1", 1, 0},
        ExampleCase{4, "2000000000",
                    "Error on Line 4 Item 1\nThe count 2000000000 is more than the 30 rows that "
                    "\"Soil Layers\" can hold.",
                    "0 0 0", 1, 4},
        // A negative count is refused as read, where it stands: reading on
        // from it would take later words for counts.
        ExampleCase{4, "-5",
                    "Error on Line 4 Item 1\nThe count -5 is not a number of rows: \"Soil "
                    "Layers\" takes 0 to 30.",
                    "0 0 0", 1, 4},
        ExampleCase{12, "-1",
                    "Error on Line 12 Item 1\nThe count -1 is not a number of rows: \"Tip "
                    "Movements\" takes 0 to 100.",
                    "0 12 113.1", 1, 12},
        ExampleCase{8, "51",
                    "Error on Line 8 Item 1\nThe count 51 is more than the 50 rows that \"Axial "
                    "Stiffness (AE) of Pile Sections\" can hold.",
                    "0 0 0", 1, 8},
        ExampleCase{5, "1 7 0.0 600.0",
                    "Error on Line 5 Item 2\nA soil type from 1 to 6 was expected but not found.",
                    "0 0 0", 1, 5},
        ExampleCase{9, "4.0E+08 0.0x",
                    "Error on Line 9 Item 2\nA floating point number was expected but not found.",
                    "0 0 0", 1, 9},
        ExampleCase{16, "", "This file either invalid or incomplete.", "0 12 113.1", 1, 16}));

TEST_F(ProjectTest, SavesWithADecimalPointUnderACommaLocale) {
  TCommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma";
  Tables().PileStiffness().SetFloatValue(1, 0, 1.5);
  Data().Tolerance = 2.5E-5;
  const QString text = QString::fromUtf8(ReadBytes(SaveAs(QStringLiteral("comma.kv4d"))));
  EXPECT_TRUE(text.contains(QStringLiteral("\n1.5 0\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("\n0.000025 0 0 0 0\n")));
  EXPECT_FALSE(text.contains(QLatin1Char(',')));
  EXPECT_EQ(DecimalSeparator(), QLatin1Char(','));
  Data().FileName = PathOf(QStringLiteral("missing folder/comma.kv4d"));
  EXPECT_THROW(Data().Save(), EInOutError);
  EXPECT_EQ(DecimalSeparator(), QLatin1Char(','));
}

// ---------------------------------------------------------------- limits

struct LargestCountCase {
  int line;
  const char* replacement;  // "N" stands for the count
  int countLine;
  int item;
  int rows;
  const char* caption;
};

// A count of 2^31 - 1 anywhere is refused by its table before any row is
// made, naming the word; the rest of the project stays at its defaults.
TEST_F(ProjectTest, CountsOfTheLargestIntegerAreRefusedByTheirTables) {
  const std::vector<LargestCountCase> cases = {
      {3, "2 1\nN", 4, 1, 100, "Depths for User-Defined t-z Curves"},
      {3, "2 1\n1\n1 0.0 N", 5, 3, 100, "t-z curve"},
      {3, "1 2\nN", 4, 1, 50, "Tip Load vs. Tip Movement"},
      {4, "N", 4, 1, 30, "Soil Layers"},
      {8, "N", 8, 1, 50, "Axial Stiffness (AE) of Pile Sections"},
      {12, "N", 12, 1, 100, "Tip Movements"},
      {13, "N", 13, 1, 50, "Pile-Head Loads"},
      {14, "N", 14, 1, 100, "Soil Settlement Profile"},
      {15, "1\nN", 16, 1, 50, "Modification Factors on t-z Curves"},
  };
  for (const LargestCountCase& c : cases) {
    const QString path = WriteFile(
        "count.kv4d",
        ExampleWith(c.line, QString::fromLatin1(c.replacement).replace('N', "2147483647")));
    QString message;
    const TResourceUsage usage = MeasureUsage([&] { message = Reopen(path); });
    EXPECT_EQ(message, QStringLiteral("File \"%1\":\n").arg(path) +
                           QStringLiteral("Error on Line %1 Item %2\nThe count 2147483647 is more "
                                          "than the %3 rows that \"%4\" can hold.")
                               .arg(c.countLine)
                               .arg(c.item)
                               .arg(c.rows)
                               .arg(QString::fromLatin1(c.caption)));
    EXPECT_LT(usage.seconds, kSecondsAllowed) << c.caption;
    if (usage.peakGrowthMB) EXPECT_LT(*usage.peakGrowthMB, kMegabytesAllowed) << c.caption;
  }
}

// A hundred megabytes of digits never reach memory: the message comes at
// once and the project opens new.
TEST_F(ProjectTest, AHundredMegabytesOfDigitsOpenANewProjectWithAMessage) {
  const QString path = PathOf(QStringLiteral("digits.kv4d"));
  ASSERT_TRUE(WriteRepeatedFile(path.toStdString(), "", "0123456789", kHugeFileBytes));
  QString message;
  const TResourceUsage usage = MeasureUsage(
      [&] { ProgramData = TProgramData::CreateFromFile(Tables(), path, dfKorvan2021, message); });
  EXPECT_EQ(message.toStdString(), "Cannot read file \"" + path.toStdString() +
                                       "\". It is larger than 16 MB, more than any file of this "
                                       "program holds.");
  EXPECT_LT(usage.seconds, kSecondsAllowed);
  if (usage.peakGrowthMB) EXPECT_LT(*usage.peakGrowthMB, kMegabytesAllowed);
  EXPECT_EQ(Data().FileName, path);
  EXPECT_EQ(Data().Title, "New Pile");
  EXPECT_EQ(Tables().SoilLayers().RowCount(), 1);
}

}  // namespace
}  // namespace korvan::testing
