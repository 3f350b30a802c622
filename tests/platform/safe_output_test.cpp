// The output-safety routine shared by the commands and the desktop program:
// what it refuses and why, what a committed file looks like, which
// temporary files it clears away, and what SIGINT and SIGTERM leave.
#include "platform/safe_output.h"

#include <gtest/gtest.h>

#include <csignal>

#include "runner/run_preparation.h"
#include "support/run_scene.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;
using platform::TProjectNames;
using platform::TSafeOutput;
using testing::Scene;

struct Refusal {
  const char* what;
  const char* steps;  // Scene::Make
  const char* target;
  TProjectNames names;
  const char* reason;
};

const Refusal kRefusals[] = {
    {"the project data file", "", "pile.kv4d", TProjectNames::kAllowed,
     "it is the project data file \"@/pile.kv4d\""},
    {"the run description", "text names.dat", "names.dat", TProjectNames::kAllowed,
     "it is the run description"},
    {"a link to the data file", "link fig.png", "fig.png", TProjectNames::kAllowed,
     "it is the project data file"},
    {"a hard link of the data file", "hard fig.png", "fig.png", TProjectNames::kAllowed,
     "it is the project data file"},
    {"the data file through its folder's other name", "", "sub/../pile.kv4d",
     TProjectNames::kAllowed, "it is the project data file"},
    {"the report of another project", "", "other.KV4O", TProjectNames::kRefused,
     "it has the extension .kv4o of a project's files"},
    {"a run description elsewhere", "", "sub/Names.dat", TProjectNames::kRefused,
     "names.dat is the name of a run description"},
    {"a FIFO", "fifo fig.png", "fig.png", TProjectNames::kAllowed,
     "it exists and is not a regular file"},
    {"a socket", "socket fig.png", "fig.png", TProjectNames::kAllowed,
     "it exists and is not a regular file"},
    {"a folder", "folder fig.png", "fig.png", TProjectNames::kAllowed, "a folder has that name"},
    {"a missing folder", "", "none/fig.png", TProjectNames::kAllowed, "the folder does not exist"},
    {"a name longer than a folder takes", "", "{4100}", TProjectNames::kAllowed,
     "File name too long"},
};

TEST(SafeOutput, RefusalsSayWhyAndWriteNothing) {
  for (const Refusal& row : kRefusals) {
    SCOPED_TRACE(row.what);
    const Scene scene("korvan_safe_output");
    scene.Make(row.steps);
    const std::vector<std::string> before = scene.Snapshot("pile.kv4d pile.kv4o fig.png names.dat");
    const TSafeOutput output(scene.Path(row.target),
                             platform::ProjectFiles(scene.Path("pile.kv4d")), row.names);
    EXPECT_FALSE(output.Ready());
    std::string reason = row.reason;
    testing::Replace(reason, "@", scene.Folder().string());
    EXPECT_NE(output.Reason().find(reason), std::string::npos) << output.Reason();
    EXPECT_EQ(scene.Snapshot("pile.kv4d pile.kv4o fig.png names.dat"), before);
    EXPECT_EQ(scene.EntriesStartingWith(".korvan."), std::vector<std::string>());
  }
}

TEST(SafeOutput, ACommittedFileReplacesItsTargetWithTheTargetsPermissions) {
  const Scene scene("korvan_safe_output_commit");
  scene.Make("text kept.txt; text linked.txt");
  fs::permissions(scene.Path("kept.txt"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(scene.Path("linked.txt"), scene.Path("link.txt"));
  struct Write {
    const char* target;
    const char* lands;  // the file that holds the new text
    fs::perms perms;
  };
  const fs::perms fresh = [&] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<fs::perms>(0666 & ~mask);
  }();
  for (const Write& write :
       {Write{"kept.txt", "kept.txt",
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read},
        Write{"new.txt", "new.txt", fresh},
        Write{"link.txt", "linked.txt",
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read}}) {
    SCOPED_TRACE(write.target);
    TSafeOutput output(scene.Path(write.target));
    ASSERT_TRUE(output.Ready()) << output.Reason();
    EXPECT_EQ(output.Temporary().parent_path(), scene.Folder());
    EXPECT_TRUE(output.Write("whole ") && output.Write("text\n"));
    EXPECT_TRUE(fs::exists(output.Temporary()));
    ASSERT_TRUE(output.Commit()) << output.Reason();
    EXPECT_EQ(testing::ReadText(scene.Path(write.lands)), "whole text\n");
    EXPECT_EQ(fs::status(scene.Path(write.lands)).permissions(), write.perms);
  }
  EXPECT_TRUE(fs::is_symlink(scene.Path("link.txt")));
  EXPECT_EQ(scene.EntriesStartingWith(".korvan."), std::vector<std::string>());
}

TEST(SafeOutput, OnlyTheTemporaryFilesOfEndedProcessesAreCleared) {
  const Scene scene("korvan_safe_output_stale");
  const std::string dead = std::to_string(testing::DeadPid());
  struct Name {
    std::string name;
    bool cleared;
  };
  const Name names[] = {
      {".korvan." + dead + ".abc.part", true},
      {".korvan." + dead + ".report.part", true},
      {".korvan.1.abc.part", false},  // init lives
      {".korvan." + std::to_string(::getpid()) + ".abc.part", false},
      {".korvan." + dead + ".ABC.part", false},            // not a tag of ours
      {".korvan." + dead + ".abcdefghijklm.part", false},  // a tag too long
      {".korvan." + dead + ".abc.part.bak", false},
      {".korvan.x" + dead + ".abc.part", false},
      {"korvan." + dead + ".abc.part", false},
  };
  for (const Name& name : names) testing::WriteText(scene.Path(name.name), "left\n");
  fs::create_directory(scene.Path(".korvan." + dead + ".dir.part"));
  platform::RemoveStaleTemporaries(scene.Folder());
  for (const Name& name : names) {
    EXPECT_EQ(fs::exists(scene.Path(name.name)), !name.cleared) << name.name;
  }
  EXPECT_TRUE(fs::is_directory(scene.Path(".korvan." + dead + ".dir.part")));
  EXPECT_EQ(platform::TemporaryPath("/f", "plot", 4194304),
            fs::path("/f/.korvan.4194304.plot.part"));
}

struct Interruption {
  const char* what;
  int signal;
  bool ignored;  // the program was started with the signal ignored
  bool prepareRun;
  int status;
  const char* after;  // the text target.txt holds afterwards
};

const Interruption kInterruptions[] = {
    {"SIGTERM while a file is written", SIGTERM, false, false, 143,
     "an earlier file, target.txt\n"},
    {"SIGINT while a file is written", SIGINT, false, false, 130, "an earlier file, target.txt\n"},
    {"SIGTERM that the program was started to ignore", SIGTERM, true, false, 0, "partial\n"},
    {"SIGINT while a run is prepared", SIGINT, false, true, 130, "an earlier file, target.txt\n"},
};

TEST(SafeOutput, ASignalRemovesTheFilesUnderWayAndKeepsTheTarget) {
  for (const Interruption& row : kInterruptions) {
    SCOPED_TRACE(row.what);
    const Scene scene("korvan_safe_output_signal");
    scene.Make("text target.txt");
    const testing::ChildOutcome outcome = testing::RunInChild(
        [&] {
          if (row.ignored) std::signal(row.signal, SIG_IGN);
          std::optional<TRunPreparation> run;
          if (row.prepareRun) run.emplace(scene.Path("pile.kv4d"), UserIdentification{});
          TSafeOutput output(scene.Path("target.txt"));
          if (!output.Write("partial\n") || (run && !run->Ready())) return 1;
          std::raise(row.signal);
          return output.Commit() ? 0 : 2;
        },
        {});
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.status, row.status) << outcome.output;
    EXPECT_EQ(testing::ReadText(scene.Path("target.txt")), row.after);
    EXPECT_FALSE(fs::exists(scene.Path("names.dat")));
    EXPECT_EQ(scene.EntriesStartingWith(".korvan."), std::vector<std::string>());
  }
}

}  // namespace
}  // namespace korvan
