// One whole session through the real main window and the real engine: run a
// sample project from the menu, look at every graph, change a graph setting,
// save, reopen and find it again; then the engine missing, the engine
// stopping a run, and runs stopped before the engine.
#include <cerrno>
#include <clocale>
#include <cstring>

#include "graphs/windows/PlotForm.h"
#include "main_window_support.h"
#include "support/comma_locale.h"

namespace korvan::testing {
namespace {

const std::string kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

std::string DecimalPoint() {
  return std::localeconv()->decimal_point;
}

class SessionTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    fProject = CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("pier.kv4d"));
    Window().show();
    Window().FormShow({fProject});
    ASSERT_EQ(ProgramData->FileName, fProject);
  }
  QString Beside(const char* extension) const {
    return QFileInfo(fProject).path() + QStringLiteral("/pier") + QLatin1String(extension);
  }
  void Run() {
    fMessages.Clear();
    Window().Actions().CompRun->trigger();
  }

  QString fProject;
};

TEST_F(SessionTest, RunLookSaveReopen) {
  TCommaLocale comma;
  Run();
  EXPECT_EQ(fMessages.Messages(), std::vector<std::string>{kCompleted});
  if (comma.Active()) EXPECT_EQ(DecimalPoint(), ",") << "the user's separator is back";
  for (const char* extension : {".kv4o", ".kv4p", ".kv4r"})
    EXPECT_TRUE(QFileInfo::exists(Beside(extension))) << extension;
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("names.dat"))));
  EXPECT_TRUE(Window().ShowOutput());
  // Head loads, no down-drag: every graph but displacement/soil settlement.
  std::vector<bool> expected(9, true);
  expected[2] = false;
  EXPECT_EQ(GraphButtons(), expected);

  const TMainActions& a = Window().Actions();
  QMenu* graphics = a.Graphs[0]->associatedObjects().size() > 0
                        ? qobject_cast<QMenu*>(a.Graphs[0]->associatedObjects().first())
                        : nullptr;
  ASSERT_NE(graphics, nullptr);
  Open(graphics);
  int opened = 0;
  for (size_t i = 0; i < a.Graphs.size(); ++i) {
    EXPECT_EQ(a.Graphs[i]->isEnabled(), expected[i]) << i;
    if (!a.Graphs[i]->isEnabled()) continue;
    a.Graphs[i]->trigger();
    ++opened;
  }
  for (const auto& graph : Window().Graphs().All()) {
    if (graph.get() != &Window().Graphs().pltDispDown()) EXPECT_NE(TPlotForm::Of(*graph), nullptr);
  }
  EXPECT_EQ(opened, 8);

  TGraphPlot& axial = Window().Graphs().pltAxial();
  TPlotForm::Of(axial)->MarkersClick(5);
  EXPECT_TRUE(axial.AnyChange());
  a.FileSave->trigger();
  EXPECT_TRUE(QFileInfo::exists(Beside(".kv4g")));
  EXPECT_FALSE(axial.AnyChange());

  a.FileNew->trigger();
  EXPECT_EQ(GraphButtons(), std::vector<bool>(9, false)) << "a new project has no results";
  EXPECT_EQ(axial.Markers(), 5) << "the graphs keep their data until the next read";
  Window().OpenFileName(fProject, dfKorvan2021);
  EXPECT_EQ(axial.Markers(), 5);
  EXPECT_EQ(Window().Graphs().pltLoad().Markers(), 1);
  EXPECT_EQ(GraphButtons(), expected);

  // A second run loads the engine again.
  Run();
  EXPECT_EQ(fMessages.Messages(), std::vector<std::string>{kCompleted});
  EXPECT_TRUE(fMessages.Messages().size() == 1);
}

TEST_F(SessionTest, MissingEngineLeavesTheLocaleAndTheFolderAsTheyWere) {
  TCommaLocale comma;
  QTemporaryDir empty;
  Window().SetProgramFolder(empty.path());
  Run();
  // Each message says which library is missing, on a line of its own.
  const std::string why =
      empty.path().toStdString() + "/KORVAN2021_DLL.so: " + std::strerror(ENOENT);
  EXPECT_EQ(fMessages.Messages(),
            (std::vector<std::string>{"Error Loading Library, error code = 2\n" + why,
                                      "Attempt to initialize DLL failed\n" + why}));
  if (comma.Active()) EXPECT_EQ(DecimalPoint(), ",");
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("names.dat"))));
  EXPECT_FALSE(QFileInfo::exists(Beside(".kv4o")));
}

TEST_F(SessionTest, AStoppedRunSaysWhyInsteadOfCompleted) {
  ProgramData->PLength = 1720;  // far below the last soil layer
  Run();
  ASSERT_EQ(fMessages.Messages().size(), 1u);
  EXPECT_EQ(fMessages.Messages()[0].rfind("The analysis stopped (result code 6): the soil profile "
                                          "does not reach a depth the analysis needs.",
                                          0),
            0u)
      << fMessages.Messages()[0];
  EXPECT_FALSE(Window().ShowOutput());
  EXPECT_EQ(GraphButtons(), std::vector<bool>(9, false));
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("names.dat"))));
}

TEST_F(SessionTest, AFailedSaveStopsTheRun) {
  // The data file's name is taken by a folder: the save cannot replace it.
  ProgramData->FileName = PathOf(QStringLiteral("blocked.kv4d"));
  ASSERT_TRUE(QDir().mkpath(ProgramData->FileName));
  Run();
  // The message says why, and that the engine did not run on the file on disk.
  ASSERT_EQ(fMessages.Messages().size(), 1u);
  const std::string& message = fMessages.Messages()[0];
  EXPECT_TRUE(message.starts_with("The project could not be saved: \"" +
                                  ProgramData->FileName.toStdString() + "\" cannot be written ("))
      << message;
  EXPECT_TRUE(message.ends_with("). The analysis was not started.")) << message;
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("blocked.kv4o"))));
}

TEST_F(SessionTest, ARunDescriptionThatCannotBeWrittenStopsTheRun) {
  // A folder takes the name of names.dat: the engine must not run at all,
  // neither on nothing nor on a stale description.
  ASSERT_TRUE(QDir().mkpath(PathOf(QStringLiteral("names.dat"))));
  Run();
  EXPECT_EQ(fMessages.Messages(),
            std::vector<std::string>{"An error occured while writing file names"});
  EXPECT_FALSE(QFileInfo::exists(Beside(".kv4o")));
  EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("names.dat"))).isDir());
}

TEST_F(SessionTest, AFailedCheckStopsBeforeTheEngine) {
  TCommaLocale comma;
  ProgramData->Nloadmethod = 1;
  ProgramData->UserQw = true;
  Window().Tables().TipMovements().SetRowCount(2);
  Window().Tables().TipMovements().SetFloatValue(0, 1, 50);
  TGridTable& tip = Window().Tables().QwCurve();
  tip.SetRowCount(2);
  tip.SetFloatValue(1, 1, 1);
  Run();
  ASSERT_EQ(fMessages.Messages().size(), 1u);
  EXPECT_EQ(fMessages.Messages()[0].rfind("Tip Movement entered (50)\r", 0), 0u);
  if (comma.Active()) EXPECT_EQ(DecimalPoint(), ",");
  EXPECT_FALSE(QFileInfo::exists(Beside(".kv4o")));
}

}  // namespace
}  // namespace korvan::testing
