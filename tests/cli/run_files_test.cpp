// The engine's run files under hostile run descriptions, through the shipped
// library in a child process: outputs that are the data file, the run
// description or each other, files that are no regular files, paths that are
// long, too long or hold a NUL, and a data file too large to read. Each
// set-up names the result code and the files that must stay byte for byte.
#include <gtest/gtest.h>

#include "dynlib.h"
#include "engine_runner.h"
#include "run_scene.h"

namespace korvan {
namespace {

using testing::Scene;

struct Scenario {
  const char* what;
  const char* steps;  // Scene::Make
  int line;           // the line of names.dat given `path` instead of pile's own
  const char* path;
  int code;
  const char* unchanged;  // besides pile.kv4d
  const char* console;
};

const Scenario kScenarios[] = {
    {"valid run", "", 5, "pile.kv4d", 0, "", "PROCEEDING"},
    {"plot path is the data path", "", 7, "pile.kv4d", 9, "pile.kv4o pile.kv4r",
     "THE PLOT FILE IS THE PROJECT DATA FILE"},
    {"report path is the data path", "", 6, "pile.kv4d", 9, "pile.kv4p",
     "THE REPORT FILE IS THE PROJECT DATA FILE"},
    {"notes path is the data path", "", 8, "pile.kv4d", 9, "pile.kv4o",
     "THE RUN-NOTES FILE IS THE PROJECT DATA FILE"},
    {"plot path is the report path", "", 7, "pile.kv4o", 9, "pile.kv4o",
     "THE PLOT FILE IS THE REPORT FILE"},
    {"plot path is the data path spelt otherwise", "", 7, "sub/../pile.kv4d", 9, "pile.kv4o",
     "THE PLOT FILE IS THE PROJECT DATA FILE"},
    {"plot path is a link to the data file", "link x.kv4p", 7, "x.kv4p", 9, "pile.kv4o x.kv4p",
     "THE PLOT FILE IS THE PROJECT DATA FILE"},
    {"report path is a hard link of the data file", "hard x.kv4o", 6, "x.kv4o", 9,
     "x.kv4o pile.kv4p", "THE REPORT FILE IS THE PROJECT DATA FILE"},
    {"report path is names.dat", "", 6, "names.dat", 9, "names.dat pile.kv4p",
     "THE REPORT FILE IS THE RUN DESCRIPTION"},
    {"report is a FIFO", "fifo pile.kv4o", 5, "pile.kv4d", 9, "pile.kv4o pile.kv4p",
     "THE REPORT FILE IS NOT A REGULAR FILE"},
    {"plot file is a FIFO", "fifo pile.kv4p", 5, "pile.kv4d", 9, "pile.kv4o pile.kv4p",
     "THE PLOT FILE IS NOT A REGULAR FILE"},
    {"notes file is a FIFO", "fifo pile.kv4r", 5, "pile.kv4d", 9, "pile.kv4o pile.kv4r",
     "THE RUN-NOTES FILE IS NOT A REGULAR FILE"},
    {"report is /dev/full", "", 6, "/dev/full", 9, "pile.kv4p",
     "THE REPORT FILE IS NOT A REGULAR FILE"},
    {"data file is /dev/zero", "", 5, "/dev/zero", 9, "pile.kv4o",
     "THE PROJECT DATA FILE IS NOT A REGULAR FILE"},
    {"plot file is a folder", "folder pile.kv4p", 5, "pile.kv4d", 9, "pile.kv4o",
     "THE PLOT FILE IS NOT A REGULAR FILE"},
    {"report is a socket", "socket pile.kv4o", 5, "pile.kv4d", 9, "pile.kv4o pile.kv4p",
     "THE REPORT FILE IS NOT A REGULAR FILE"},
    {"names.dat is a FIFO", "fifo names.dat", 0, "", 2, "names.dat pile.kv4o",
     "IS NOT A REGULAR FILE"},
    {"report path of 260 characters beside a file named by its first 255", "text {255}", 6,
     "{255}.kv4o", 0, "{255}", "PROCEEDING"},
    {"plot path longer than 4095", "", 7, "{4100}", 2, "pile.kv4p",
     "LINE 7 OF THE RUN DESCRIPTION IS A PATH OF MORE THAN 4095 CHARACTERS"},
    {"report path holding a NUL", "", 6, "pile{NUL}x.kv4o", 2, "pile.kv4o",
     "LINE 6 OF THE RUN DESCRIPTION HOLDS A NUL"},
    {"data file over 64 MB", "grow pile.kv4d", 5, "pile.kv4d", 3, "pile.kv4r",
     "THE PROJECT DATA FILE CANNOT BE READ"},
    {"notes file in a missing folder", "", 8, "missing/pile.kv4r", 9, "",
     "THE FILE CANNOT BE CREATED"},
};

TEST(RunFiles, HostileRunDescriptionsDestroyNothingAndNeverHang) {
  const std::string engine = std::string(KORVAN_BIN_DIR) + "/" + kEngineFileName;
  for (const Scenario& row : kScenarios) {
    SCOPED_TRACE(row.what);
    const Scene scene("korvan_run_files");
    scene.Make(row.steps);
    if (row.line > 0) {
      std::string lines = "2021.4.3\nAcme\nAustin, TX\n7\n";
      for (int line = 5; line <= 8; ++line) {
        const std::string own = "pile.kv4" + std::string(1, "dopr"[line - 5]);
        lines += scene.Path(line == row.line ? row.path : own) + "\n";
      }
      testing::WriteText(scene.Path("names.dat"), lines);
    }
    const std::string kept = std::string(row.unchanged) + " pile.kv4d";
    const std::vector<std::string> before = scene.Snapshot(kept);

    testing::ChildOptions options;
    options.folder = scene.Folder();
    const testing::ChildOutcome run = testing::RunInChild(
        [&] {
          platform::TDynamicLibrary library(engine, true);
          using EntryPoint = std::int32_t (*)(std::int32_t, std::int32_t);
          return reinterpret_cast<EntryPoint>(library.FindProcedure("IKORVAN"))(4, 3);
        },
        options);
    EXPECT_TRUE(run.exited) << "the run did not end by itself";
    EXPECT_EQ(run.status, row.code) << run.output;
    EXPECT_NE(run.output.find(row.console), std::string::npos) << run.output;
    EXPECT_EQ(scene.Snapshot(kept), before);
  }
}

}  // namespace
}  // namespace korvan
