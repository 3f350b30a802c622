// The graph parameter file: its exact layout, settings restored from it,
// blocks of another run skipped, untouched graphs not rewritten, and a
// damaged file that leaves the graphs read before it.
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>

#include "model/Exceptions.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

class GraphParamsTest : public GraphsTest {
 protected:
  void SetUp() override {
    GraphsTest::SetUp();
    ASSERT_TRUE(Read(SmallResult()));
  }
  QString File() const { return PathOf(QStringLiteral("p.kv4g")); }
};

TEST_F(GraphParamsTest, BlockLayoutIsExact) {
  TGraphPlot& axial = Graphs().pltAxial();
  axial.SetShowLegend(false);
  axial.SetMarkers(5);
  axial.SetSizeFont(15);
  axial.SetWidthLine(2);
  axial.UserCaption = QStringLiteral("Pile A");
  axial.UserCaptionOnTop = false;
  axial.GetLines(0).SetLineName(QStringLiteral("Head"));
  axial.GetLines(0).SetVisible(false);
  EXPECT_EQ(TResultGraphs::GraphPlotParamsText(axial),
            ":Plot Caption\n"
            "Axial Load vs Settlement\n"
            "1 3   :LineCount, Count\n"
            "0 : Do not Show Legend\n"
            "0 : Do not Show Soil Layers\n"
            "0 : Do not Show Wall Geometry\n"
            "5   :Markers Index\n"
            "15   :FontSize Index\n"
            "2   :LineWidth Index\n"
            ":Graph Title\n"
            "Pile A\n"
            "0 : User Caption on Bottom\n"
            ":Legend, Line 1\n"
            "Head\n"
            "1 0 : Active, Visible, Line 1\n");
  TGraphPlot empty;
  EXPECT_EQ(TResultGraphs::GraphPlotParamsText(empty),
            ":Plot Caption\n\n0 0   :LineCount, Count\n");
}

TEST_F(GraphParamsTest, SettingsComeBackAfterARead) {
  TGraphPlot& load = Graphs().pltLoad();
  load.SetShowLayers(true);
  load.SetMarkers(10);
  load.UserCaption = QStringLiteral("Test pile");
  load.GetLines(1).SetLineName(QStringLiteral("Second"));
  load.GetLines(1).SetActive(false);
  load.SetAnyChange(true);
  ASSERT_TRUE(Graphs().SaveGraphParams(File(), Project()));
  EXPECT_FALSE(load.AnyChange());

  ASSERT_TRUE(Read(SmallResult()));  // back to the defaults
  ASSERT_EQ(load.Markers(), 1);
  Graphs().ReadGraphParams(File(), Project());
  EXPECT_TRUE(load.ShowLayers());
  EXPECT_EQ(load.Markers(), 10);
  EXPECT_EQ(load.UserCaption, "Test pile");
  EXPECT_EQ(load.GetLines(1).LineName(), "Second");
  EXPECT_FALSE(load.GetLines(1).Active());
  EXPECT_TRUE(load.GetLines(0).Active());
  EXPECT_FALSE(load.LimitActive);
}

TEST_F(GraphParamsTest, BlocksOfAnotherRunAreSkipped) {
  Graphs().pltLoad().SetMarkers(5);
  Graphs().pltAxial().SetMarkers(7);
  Graphs().PltQW().SetMarkers(3);
  Graphs().PltQW().SetAnyChange(true);
  ASSERT_TRUE(Graphs().SaveGraphParams(File(), Project()));
  // A rerun with three tip movements: the distributions and the load
  // settlement curve change their counts, the Q-w curve does not.
  TPlotText rerun = SmallResult();
  rerun.distributions.push_back(rerun.distributions.back());
  rerun.summary.push_back({3000, 0.5, 0.4, 800});
  ASSERT_TRUE(Read(rerun));
  Graphs().ReadGraphParams(File(), Project());
  EXPECT_EQ(Graphs().pltLoad().Markers(), 1) << "three lines now, two in the file";
  EXPECT_EQ(Graphs().pltAxial().Markers(), 1) << "four points now, three in the file";
  EXPECT_EQ(Graphs().PltQW().Markers(), 3);
}

TEST_F(GraphParamsTest, UntouchedGraphsDoNotRewriteTheFile) {
  WriteText(File(), QStringLiteral("earlier\n"));
  EXPECT_FALSE(Graphs().SaveGraphParams(File(), Project()));
  EXPECT_EQ(ReadText(File()), "earlier\n");
  // The down-drag graph counts only in a project with down-drag.
  Graphs().pltDispDown().SetAnyChange(true);
  EXPECT_FALSE(Graphs().SaveGraphParams(File(), Project()));
  Project().downdrag = 1;
  EXPECT_TRUE(Graphs().SaveGraphParams(File(), Project()));
  EXPECT_EQ(ReadText(File()).count(QStringLiteral(":Plot Caption")), 6);
}

TEST_F(GraphParamsTest, ADamagedFileKeepsTheBlocksBeforeIt) {
  Graphs().pltLoad().SetMarkers(5);
  Graphs().pltDisp().SetMarkers(6);
  Graphs().pltDisp().SetAnyChange(true);
  ASSERT_TRUE(Graphs().SaveGraphParams(File(), Project()));
  const QString text = ReadText(File());
  const int second = text.indexOf(QStringLiteral(":Plot Caption"), 1);
  QString damaged = text;
  damaged.replace(text.indexOf(QStringLiteral("6   :Markers"), second), 1, QStringLiteral("x"));
  WriteText(File(), damaged);
  ASSERT_TRUE(Read(SmallResult()));
  EXPECT_THROW(Graphs().ReadGraphParams(File(), Project()), EInOutError);
  EXPECT_EQ(Graphs().pltLoad().Markers(), 5);
  EXPECT_EQ(Graphs().pltDisp().Markers(), 1) << "the damaged block is not applied";
}

TEST_F(GraphParamsTest, AFileThatCannotBeWrittenLeavesTheEarlierOne) {
  Graphs().pltLoad().SetAnyChange(true);
  const QString blocked = PathOf(QStringLiteral("folder.kv4g"));
  ASSERT_TRUE(QDir().mkpath(blocked));
  EXPECT_THROW(Graphs().SaveGraphParams(blocked, Project()), EInOutError);
  EXPECT_TRUE(Graphs().pltLoad().AnyChange()) << "still to be stored";
  EXPECT_TRUE(QFileInfo(blocked).isDir());
  // A FIFO under the name is never written into (that would wait for a
  // reader) nor replaced.
  const QString pipe = PathOf(QStringLiteral("pipe.kv4g"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
  try {
    Graphs().SaveGraphParams(pipe, Project());
    ADD_FAILURE() << "the FIFO was taken";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(),
              QStringLiteral("The graph settings cannot be saved to \"%1\". It exists and is not "
                             "a regular file.")
                  .arg(pipe));
  }
  EXPECT_EQ(QDir(PathOf({})).entryList({QStringLiteral(".korvan.*")}, QDir::Hidden | QDir::Files),
            QStringList());
}

}  // namespace
}  // namespace korvan::testing
