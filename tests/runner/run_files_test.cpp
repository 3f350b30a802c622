// The engine's run files under hostile run descriptions, through the shipped
// library in a child process: outputs that are the data file, the run
// description or each other, files that are no regular files, paths that are
// long, too long or hold a NUL, a data file too large to read, outputs the
// user may not write, and temporary files left in the folder. Each set-up
// names the result code, the files that must stay byte for byte and those
// that the run leaves empty; no temporary file of the run is ever left.
// A run killed while it writes leaves the earlier outputs as they were.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "bench/benchmark_projects.h"
#include "platform/dynlib.h"
#include "runner/engine_library.h"
#include "runner/engine_runner.h"
#include "support/run_scene.h"

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
  // Made by the run's own process just before the run; "{pid}" stands for
  // its process id.
  const char* childSteps = "";
  bool unprivileged = false;             // a root run becomes nobody
  const char* report = "";               // what the report then says
  const char* empty = "";                // files the run leaves empty
  const char* gone = "";                 // files the run removes
  rlim_t fileSizeLimit = RLIM_INFINITY;  // bytes any one file may reach
};

// Whether `name` is one of the blank-separated `names`.
bool Lists(const std::string& names, const std::string& name) {
  for (const std::string& listed : testing::Split(names, ' ')) {
    if (listed == name) return true;
  }
  return false;
}

const Scenario kScenarios[] = {
    {"valid run", "", 5, "pile.kv4d", 0, "", "PROCEEDING", "", false,
     "RESULTS DUE TO APPLIED LOADS"},
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
     "THE RUN-NOTES FILE CANNOT BE CREATED", "", false, "CANNOT OPEN THE FILE", "pile.kv4p"},
    // Outputs that cannot be written leave both earlier outputs; a failure
    // found once both can be written is told by the report, beside an empty
    // plot file.
    {"notes path holding a NUL", "", 8, "pile{NUL}x.kv4r", 2, "pile.kv4r",
     "LINE 8 OF THE RUN DESCRIPTION HOLDS A NUL", "", false, "IS MISSING OR INCOMPLETE",
     "pile.kv4p"},
    {"data file missing", "", 5, "gone.kv4d", 3, "pile.kv4r",
     "THE PROJECT DATA FILE CANNOT BE READ", "", false, "CANNOT OPEN THE FILE", "pile.kv4p"},
    {"read-only plot file", "share; readonly pile.kv4p", 5, "pile.kv4d", 9,
     "pile.kv4o pile.kv4p pile.kv4r", "THE PLOT FILE CANNOT BE WRITTEN: @/pile.kv4p", "", true},
    {"read-only report", "share; readonly pile.kv4o", 5, "pile.kv4d", 9, "pile.kv4o pile.kv4p",
     "THE REPORT FILE CANNOT BE WRITTEN: @/pile.kv4o", "", true},
    {"read-only notes file is kept", "share; readonly pile.kv4r", 5, "pile.kv4d", 0, "pile.kv4r",
     "PROCEEDING", "", true, "RESULTS DUE TO TIP MOVEMENTS"},
    {"read-only folder", "share; lock", 5, "pile.kv4d", 9, "pile.kv4o pile.kv4p pile.kv4r",
     "THE REPORT FILE CANNOT BE CREATED: @/pile.kv4o (Permission denied)", "", true},
    {"plot file in a folder the user may not write", "share", 7, "sub/pile.kv4p", 9,
     "pile.kv4o pile.kv4p", "THE PLOT FILE CANNOT BE CREATED: @/sub/pile.kv4p", "", true},
    {"report in a missing folder", "", 6, "missing/pile.kv4o", 9, "pile.kv4p",
     "THE REPORT FILE CANNOT BE CREATED: @/missing/pile.kv4o (No such file or directory)"},
    // Writes that fail (a size limit standing in for a full disk): a report
    // not written whole leaves the earlier pair; a plot file not written
    // whole goes in place empty beside the report that says so.
    {"report cannot be written whole", "", 5, "pile.kv4d", 9, "pile.kv4o pile.kv4p",
     "THE EARLIER REPORT AND PLOT FILE ARE KEPT AS THEY WERE", "", false, "", "", "", 60000},
    {"plot file cannot be written whole", "brief pile.kv4d", 5, "pile.kv4d", 9, "",
     "THE PLOT FILE COULD NOT BE WRITTEN WHOLE", "", false,
     "THE PLOT FILE COULD NOT BE WRITTEN WHOLE", "pile.kv4p", "", 25000},
    // Temporary files: the run's own leftovers are replaced, never written
    // through; those of ended processes are removed, others are left.
    {"own leftover report name is a link to the data file", "", 5, "pile.kv4d", 0, "", "PROCEEDING",
     "link .korvan.{pid}.report.part", false, "RESULTS DUE TO TIP MOVEMENTS"},
    {"own leftover plot name is a FIFO", "", 5, "pile.kv4d", 0, "", "PROCEEDING",
     "fifo .korvan.{pid}.plot.part"},
    {"own leftover report name is a folder", "", 5, "pile.kv4d", 9, "pile.kv4o pile.kv4p",
     "THE REPORT FILE CANNOT BE CREATED", "folder .korvan.{pid}.report.part"},
    {"temporary files of ended processes",
     "text .korvan.2147483647.report.part; text .korvan.2147483646.plot.part", 5, "pile.kv4d", 0,
     "", "PROCEEDING", "", false, "", "",
     ".korvan.2147483647.report.part .korvan.2147483646.plot.part"},
    {"temporary file of a live process", "text .korvan.1.plot.part", 5, "pile.kv4d", 0,
     ".korvan.1.plot.part", "PROCEEDING"},
    {"names like temporary ones that are not",
     "text .korvan.02147483647.plot.part; text .korvan.2147483647.Plot.part; "
     "text .korvan.2147483647.plot; folder .korvan.2147483647.report.part",
     5, "pile.kv4d", 0,
     ".korvan.02147483647.plot.part .korvan.2147483647.Plot.part .korvan.2147483647.plot "
     ".korvan.2147483647.report.part",
     "PROCEEDING"},
};

// names.dat for the project `name`.kv4d in the scene's folder, with line
// `line` (5 to 8) giving `path` instead of the project's own file.
std::string RunDescriptionFor(const Scene& scene, const std::string& name, int line = 0,
                              const std::string& path = "") {
  std::string lines = "2021.4.3\nAcme\nAustin, TX\n7\n";
  for (int n = 5; n <= 8; ++n) {
    const std::string own = name + ".kv4" + std::string(1, "dopr"[n - 5]);
    lines += scene.Path(n == line ? path : own) + "\n";
  }
  return lines;
}

// One run of the shipped library, as the runner makes it: loaded from
// `folder`, called once with (4, 3).
int RunEngine(const std::string& folder) {
  platform::TDynamicLibrary library(folder + "/" + kEngineFileName, true);
  using EntryPoint = std::int32_t (*)(std::int32_t, std::int32_t);
  return reinterpret_cast<EntryPoint>(library.FindProcedure("IKORVAN"))(4, 3);
}

// The names in the scene's folder that look like temporary files (folders
// aside).
std::vector<std::string> TemporaryLooking(const Scene& scene) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(scene.Folder())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".korvan.") && !entry.is_directory()) names.push_back(name);
  }
  return names;
}

TEST(RunFiles, HostileRunDescriptionsDestroyNothingAndNeverHang) {
  for (const Scenario& row : kScenarios) {
    SCOPED_TRACE(row.what);
    const Scene scene("korvan_run_files");
    scene.Make(row.steps);
    if (row.line > 0) {
      testing::WriteText(scene.Path("names.dat"),
                         RunDescriptionFor(scene, "pile", row.line, row.path));
    }
    const std::string kept = std::string(row.unchanged) + " pile.kv4d";
    const std::vector<std::string> before = scene.Snapshot(kept);

    testing::ChildOptions options;
    options.folder = scene.Folder();
    options.unprivileged = row.unprivileged;
    options.fileSizeLimit = row.fileSizeLimit;
    const std::string engine = row.unprivileged ? testing::RunnerForEveryone() : KORVAN_BIN_DIR;
    const testing::ChildOutcome run = testing::RunInChild(
        [&] {
          std::string steps = row.childSteps;
          testing::Replace(steps, "{pid}", std::to_string(::getpid()));
          scene.Make(steps);
          return RunEngine(engine);
        },
        options);
    EXPECT_TRUE(run.exited) << "the run did not end by itself";
    EXPECT_EQ(run.status, row.code) << run.output;
    std::string console = row.console;
    testing::Replace(console, "@", scene.Folder().string());
    EXPECT_NE(run.output.find(console), std::string::npos) << run.output;
    EXPECT_EQ(scene.Snapshot(kept), before);
    if (*row.report) {
      EXPECT_NE(testing::ReadText(scene.Path("pile.kv4o")).find(row.report), std::string::npos);
    }
    for (const std::string& name : testing::Split(row.empty, ' ')) {
      EXPECT_EQ(scene.Snapshot(name), std::vector<std::string>{name + " "});
    }
    for (const std::string& name : testing::Split(row.gone, ' ')) {
      EXPECT_EQ(scene.Snapshot(name), std::vector<std::string>{name + " absent"});
    }
    // Nothing temporary of the run is left, whatever way it ended.
    for (const std::string& name : TemporaryLooking(scene)) {
      EXPECT_TRUE(Lists(row.unchanged, name)) << name;
    }
  }
}

// Starts a run of pile.kv4d in the scene's folder that is stopped (SIGSTOP)
// while its outputs are written, and returns its process id; -1 when no try
// caught the run before its end.
pid_t StartAndStopAWritingRun(const Scene& scene) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int quiet = ::open("/dev/null", O_WRONLY);
      ::dup2(quiet, 1);
      ::dup2(quiet, 2);
      if (::chdir(scene.Folder().c_str()) != 0) ::_exit(120);
      ::_exit(RunEngine(KORVAN_BIN_DIR));
    }
    const std::string plot = scene.Path(".korvan." + std::to_string(pid) + ".plot.part");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool ended = false;
    while (std::chrono::steady_clock::now() < deadline) {
      if (::waitpid(pid, nullptr, WNOHANG) != 0) {
        ended = true;  // reaped: its id may belong to another process now
        break;
      }
      std::error_code error;
      const auto size = std::filesystem::file_size(plot, error);
      if (!error && size > 0) {
        ::kill(pid, SIGSTOP);
        // Still writing once stopped: its plot file is not yet in place.
        if (std::filesystem::exists(plot)) return pid;
        break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    if (!ended) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  }
  return -1;
}

TEST(RunFiles, AKilledRunLeavesTheEarlierOutputsAndItsFilesAreRemovedOnceItHasEnded) {
  const Scene scene("korvan_killed_run");
  testing::WriteText(scene.Path("pile.kv4d"), benchmark_projects::CapacityProject());
  testing::WriteText(scene.Path("names.dat"), RunDescriptionFor(scene, "pile"));
  scene.Make("copy other.kv4d; folder elsewhere");
  testing::WriteText(scene.Path("elsewhere/names.dat"), RunDescriptionFor(scene, "other"));
  const std::string earlier = "pile.kv4o pile.kv4p pile.kv4r";
  const std::vector<std::string> before = scene.Snapshot(earlier);

  const pid_t stopped = StartAndStopAWritingRun(scene);
  ASSERT_GT(stopped, 0) << "no run was caught while it wrote";
  const std::string own = ".korvan." + std::to_string(stopped);
  const std::string temporary = own + ".report.part " + own + ".plot.part";
  const auto otherRun = [&] {
    testing::ChildOptions options;
    options.folder = scene.Path("elsewhere");
    return testing::RunInChild([] { return RunEngine(KORVAN_BIN_DIR); }, options);
  };

  // Another run writing into the folder leaves the files of a live run.
  EXPECT_EQ(otherRun().status, 0);
  const std::vector<std::string> live = scene.Snapshot(temporary);
  for (const std::string& state : live) EXPECT_EQ(state.find("absent"), std::string::npos);

  ::kill(stopped, SIGKILL);
  ::waitpid(stopped, nullptr, 0);
  EXPECT_EQ(scene.Snapshot(earlier), before);
  EXPECT_EQ(scene.Snapshot(temporary), live) << "a killed run removes nothing";

  // The next run into the folder removes them; its own outputs are whole.
  const testing::ChildOutcome next = otherRun();
  EXPECT_EQ(next.status, 0) << next.output;
  EXPECT_EQ(scene.Snapshot(temporary),
            (std::vector<std::string>{own + ".report.part absent", own + ".plot.part absent"}));
  EXPECT_NE(testing::ReadText(scene.Path("other.kv4o")).find("RESULTS DUE TO APPLIED LOADS"),
            std::string::npos);
  EXPECT_EQ(scene.Snapshot(earlier), before);
}

}  // namespace
}  // namespace korvan
