// The variants of a design study, made from the text the program saves of a
// project and read back with the program's own model: the parameter changed
// with the values that depend on it and nothing else, the design load among
// the head loads, and the same bytes whether the variants are made beside
// the project the program holds or by korvan alone.
#include "runner/study_variant.h"

#include <QDir>
#include <QProcess>
#include <optional>
#include <vector>

#include "model/Exceptions.h"
#include "model/StudyProject.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

QString Example(const char* name) {
  QFile file(QStringLiteral(KORVAN_EXAMPLES_DIR "/") + QLatin1String(name) +
             QStringLiteral(".kv4d"));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The sample projects, and samples changed for one rule each.
QString ProjectText(const QString& name) {
  QString text = Example(name == QLatin1String("tapered") || name == QLatin1String("no loads")
                             ? "driven-pile-clay-sand"
                         : name == QLatin1String("movements") ? "api-clay-sand"
                                                              : name.toUtf8().constData());
  if (name == QLatin1String("tapered"))
    text.replace(QStringLiteral("2\n7.98E+08 0.0\n7.98E+08 720.0\n"),
                 QStringLiteral("2\n8.0E+08 0.0\n6.0E+08 720.0\n"));
  if (name == QLatin1String("no loads"))
    text.replace(QStringLiteral("\n3\n100000\n250000\n400000\n"), QStringLiteral("\n0\n"));
  if (name == QLatin1String("movements"))
    text.replace(QStringLiteral("\n2\n300000\n-90000\n"), QStringLiteral("\n0\n"));
  return text;
}

using TRows = std::vector<std::vector<double>>;

struct TVariantState {
  double length = 0;
  double diameter = 0;
  double tipArea = 0;
  TRows stiffness;  // depth, AE
  int loadMethod = 0;
  std::vector<double> headLoads;     // with load method 2
  std::vector<double> tipMovements;  // as read, whatever the method
};

TRows Rows(const TGridTable& table, int columns) {
  TRows rows;
  for (int row = 0; row < table.RowCount(); ++row) {
    rows.emplace_back();
    for (int column = 0; column < columns; ++column)
      rows.back().push_back(static_cast<double>(table.GetFloatValue(column, row)));
  }
  return rows;
}

std::vector<double> Column(const TGridTable& table) {
  std::vector<double> values;
  for (const auto& row : Rows(table, 1)) values.push_back(row.front());
  return values;
}

void ExpectNear(const TRows& actual, const TRows& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    ASSERT_EQ(actual[i].size(), expected[i].size());
    for (std::size_t j = 0; j < actual[i].size(); ++j)
      EXPECT_NEAR(actual[i][j], expected[i][j], 1e-7 * std::fabs(expected[i][j])) << i << "," << j;
  }
}

struct VariantCase {
  const char* what;
  const char* project;
  TStudyParameter parameter;
  double value;
  std::optional<double> designLoad;
  bool scaleAE;
  double length, diameter, tipArea;
  TRows stiffness;
  int loadMethod;
  std::vector<double> headLoads;
  std::size_t tipMovements;
};

constexpr auto kLength = TStudyParameter::kLength;
constexpr auto kDiameter = TStudyParameter::kDiameter;

const VariantCase kVariantCases[] = {
    {"a shorter pile cuts the stiffness at its tip",
     "driven-pile-clay-sand",
     kLength,
     600,
     {},
     false,
     600,
     18,
     254.5,
     {{0, 7.98e8}, {600, 7.98e8}},
     2,
     {1e5, 2.5e5, 4e5},
     2},
    {"a longer pile carries the last stiffness to its tip",
     "driven-pile-clay-sand",
     kLength,
     800,
     {},
     false,
     800,
     18,
     254.5,
     {{0, 7.98e8}, {720, 7.98e8}, {800, 7.98e8}},
     2,
     {1e5, 2.5e5, 4e5},
     2},
    {"a tapered pile cut half way",
     "tapered",
     kLength,
     360,
     {},
     false,
     360,
     18,
     254.5,
     {{0, 8e8}, {360, 7e8}},
     2,
     {1e5, 2.5e5, 4e5},
     2},
    {"a tapered pile made longer",
     "tapered",
     kLength,
     900,
     {},
     false,
     900,
     18,
     254.5,
     {{0, 8e8}, {720, 6e8}, {900, 6e8}},
     2,
     {1e5, 2.5e5, 4e5},
     2},
    {"half the diameter, a quarter of the tip",
     "driven-pile-clay-sand",
     kDiameter,
     9,
     {},
     false,
     720,
     9,
     63.625,
     {{0, 7.98e8}, {720, 7.98e8}},
     2,
     {1e5, 2.5e5, 4e5},
     2},
    {"twice the diameter with AE scaled",
     "driven-pile-clay-sand",
     kDiameter,
     36,
     {},
     true,
     720,
     36,
     1018,
     {{0, 3.192e9}, {720, 3.192e9}},
     2,
     {1e5, 2.5e5, 4e5},
     2},
    {"a shaft in SI",
     "drilled-shaft-si",
     kDiameter,
     1.2,
     {},
     false,
     15,
     1.2,
     1.130976,
     {{0, 1.96e7}, {15, 1.96e7}},
     2,
     {1500, 3000, -1200},
     2},
    {"the design load after the project's loads",
     "driven-pile-clay-sand",
     kLength,
     600,
     3e5,
     false,
     600,
     18,
     254.5,
     {{0, 7.98e8}, {600, 7.98e8}},
     2,
     {1e5, 2.5e5, 4e5, 3e5},
     2},
    {"the design load alone",
     "no loads",
     kLength,
     700,
     3e5,
     false,
     700,
     18,
     254.5,
     {{0, 7.98e8}, {700, 7.98e8}},
     2,
     {3e5},
     2},
    {"own tip movements kept beside the design load",
     "movements",
     kLength,
     900,
     4e5,
     false,
     900,
     24,
     452.4,
     {{0, 1.45e9}, {900, 1.45e9}},
     2,
     {4e5},
     8},
    {"own tip movements without a design load",
     "movements",
     kLength,
     900,
     {},
     false,
     900,
     24,
     452.4,
     {{0, 1.45e9}, {900, 1.45e9}},
     1,
     {},
     8},
};

TEST_F(ProjectTest, AVariantChangesItsParameterByTheRulesAndNothingElse) {
  for (const VariantCase& row : kVariantCases) {
    SCOPED_TRACE(row.what);
    // The project as the program holds and saves it.
    ASSERT_TRUE(
        Reopen(WriteFile(QStringLiteral("project.kv4d"), ProjectText(QLatin1String(row.project))))
            .isEmpty());
    const std::string saved = Data().FileBytes().toStdString();
    const TVariantMaker maker(saved, {row.parameter, row.designLoad, row.scaleAE});
    ASSERT_TRUE(maker.Ready()) << maker.Problem();
    std::string error;
    const std::optional<std::string> text = maker.VariantText(row.value, error);
    ASSERT_TRUE(text.has_value()) << error;
    const QString read =
        Reopen(WriteFile(QStringLiteral("variant.kv4d"), QString::fromStdString(*text)));
    ASSERT_TRUE(read.isEmpty()) << read.toStdString();
    EXPECT_NEAR(static_cast<double>(Data().PLength), row.length, 1e-9 * row.length);
    EXPECT_NEAR(static_cast<double>(Data().OD), row.diameter, 1e-9 * row.diameter);
    EXPECT_NEAR(static_cast<double>(Data().Tiparea), row.tipArea, 1e-7 * row.tipArea);
    ExpectNear(Rows(Tables().PileStiffness(), 2), row.stiffness);
    EXPECT_EQ(Data().Nloadmethod, row.loadMethod);
    if (row.loadMethod == 2) EXPECT_EQ(Column(Tables().HeadLoads()), row.headLoads);
    EXPECT_EQ(Tables().TipMovements().RowCount(), static_cast<int>(row.tipMovements));
    // The design load's place: after the project's own head loads.
    const std::size_t ownLoads = row.loadMethod != 2 ? 0 : row.headLoads.size();
    EXPECT_EQ(maker.DesignLoadIndex(), row.designLoad ? ownLoads - 1 : ownLoads);
    // The variant with the project's own value is the project's own text.
    const TVariantMaker plain(saved, {row.parameter, {}, row.scaleAE});
    const double own = row.parameter == kLength ? plain.Length() : plain.Diameter();
    EXPECT_EQ(plain.VariantText(own, error), saved);
  }
}

TEST_F(ProjectTest, StudiesThatNoVariantCanServeAreRefused) {
  QString manyLoads = QStringLiteral("50\n");
  for (int i = 1; i <= 50; ++i) manyLoads += QString::number(i * 1000) + QLatin1Char('\n');
  QString manyRows = QStringLiteral("50\n");
  for (int i = 0; i < 50; ++i) manyRows += QStringLiteral("7.98E+08 %1\n").arg(i * 10);
  struct Case {
    const char* what;
    QString text;
    TVariantRules rules;
    const char* problem;       // before any variant
    const char* variantError;  // when the variant of 720 is made
  };
  const QString pile = Example("driven-pile-clay-sand");
  const Case cases[] = {
      {"no diameter to scale by",
       QString(pile).replace(QStringLiteral("720.0 0.0 18.0 254.5"),
                             QStringLiteral("720.0 0.0 0 254.5")),
       {kDiameter, {}, false},
       "The project's outer diameter is 0",
       ""},
      {"no room for the design load",
       QString(pile).replace(QStringLiteral("3\n100000\n250000\n400000\n"), manyLoads),
       {kLength, 3e5, false},
       "The project has 50 head loads",
       ""},
      {"no room for a stiffness row at the tip",
       QString(pile).replace(QStringLiteral("2\n7.98E+08 0.0\n7.98E+08 720.0\n"), manyRows),
       {kLength, {}, false},
       "",
       "The stiffness table holds 50 rows"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    ASSERT_TRUE(Reopen(WriteFile(QStringLiteral("project.kv4d"), row.text)).isEmpty());
    const TVariantMaker maker(Data().FileBytes().toStdString(), row.rules);
    EXPECT_TRUE(maker.Problem().starts_with(row.problem)) << maker.Problem();
    std::string error;
    EXPECT_FALSE(maker.VariantText(720, error).has_value());
    EXPECT_TRUE(error.starts_with(*row.problem ? row.problem : row.variantError)) << error;
  }
  const TVariantMaker notAProject("Title\n50 0 1\n1 1\n", {});
  EXPECT_FALSE(notAProject.Ready());
  // A project cut short cannot be studied at all.
  QString message;
  const QString cut = WriteFile(QStringLiteral("cut.kv4d"), pile.left(pile.size() / 2));
  EXPECT_FALSE(ProjectTextAsSaved(QFile::encodeName(cut).toStdString(), message).has_value());
  EXPECT_TRUE(message.contains(QLatin1String("cannot be read"))) << message.toStdString();
}

// The desktop program makes the variants beside the project it holds; korvan
// makes them with no other project. Both give the same files, and the
// project the program holds stays as it was.
TEST_F(ProjectTest, VariantsBesideTheOpenProjectAreThoseKorvanWrites) {
  struct Case {
    const char* project;
    const char* vary;
    TStudyParameter parameter;
    std::vector<double> values;
    const char* designLoad;
  };
  const Case cases[] = {
      {"driven-pile-clay-sand", "length=600:800:200", kLength, {600, 800}, "300000"},
      {"downdrag-modified-si", "diameter=0.3:0.5:0.2", kDiameter, {0.3, 0.5}, "800"},
      {"user-curves", "length=500:500:1", kLength, {500}, ""},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.project);
    const QString path =
        WriteFile(QStringLiteral("%1.kv4d").arg(QLatin1String(row.project)), Example(row.project));
    const QString read = Reopen(path);
    ASSERT_TRUE(read.isEmpty()) << read.toStdString();
    const QStringList before = Snapshot(Data());
    const std::optional<double> designLoad =
        *row.designLoad ? std::optional<double>(std::stod(row.designLoad)) : std::nullopt;
    const TVariantMaker maker(Data().FileBytes().toStdString(), {row.parameter, designLoad, false});

    QStringList arguments{QStringLiteral("study"),  path,
                          QStringLiteral("--vary"), QLatin1String(row.vary),
                          QStringLiteral("--out"),  PathOf("study")};
    if (designLoad) arguments << QStringLiteral("--design-load") << QLatin1String(row.designLoad);
    QProcess korvan;
    korvan.start(QStringLiteral(KORVAN_BIN_DIR "/korvan"), arguments);
    ASSERT_TRUE(korvan.waitForFinished(60000));
    ASSERT_EQ(korvan.exitCode(), 0) << korvan.readAllStandardError().toStdString();
    for (const double value : row.values) {
      SCOPED_TRACE(value);
      const QString written = PathOf(QStringLiteral("study/%1-%2-%3.kv4d")
                                         .arg(QLatin1String(row.project))
                                         .arg(QLatin1String(ParameterWord(row.parameter)))
                                         .arg(QString::fromStdString(ValueText(value))));
      std::string error;
      EXPECT_EQ(QByteArray::fromStdString(maker.VariantText(value, error).value_or(error)),
                ReadBytes(written));
    }
    EXPECT_EQ(Snapshot(Data()), before);
    EXPECT_FALSE(Tables().GetDataChanged());
    QDir(PathOf(QStringLiteral("study"))).removeRecursively();
  }
}

}  // namespace
}  // namespace korvan::testing
