// `korvan run` and its run preparation under hostile set-ups: every failure
// is a message and a documented exit status, files stay byte for byte,
// names.dat never outlives a run, runs in one folder take turns, and a write
// that fails (a file-size limit standing in for a full disk) gives code 9.
#include <gtest/gtest.h>
#include <spawn.h>

#include <chrono>

#include "korvan_version.h"
#include "runner/result_meanings.h"
#include "runner/run_preparation.h"
#include "support/run_scene.h"

namespace korvan {
namespace {

using testing::ReadText;
using testing::RunInChild;
using testing::Scene;

struct RunnerCase {
  const char* what;
  const char* steps;     // Scene::Make; "lock" also runs the runner unprivileged
  const char* argument;  // after "run"; "@" is the scene's folder
  const char* variable;  // an environment variable's "NAME=value", or ""
  int status;
  const char* unchanged;  // besides pile.kv4d
  const char* says;
  const char* never = "";
  const char* gone = "";  // files that must not exist afterwards
};

const RunnerCase kRunnerCases[] = {
    {"project saved as .kv4p", "copy p.kv4p", "@/p.kv4p", "", 65, "p.kv4p pile.kv4o",
     "the extension of a file the run writes"},
    {"project saved as .kv4o", "", "@/pile.kv4o", "", 65, "pile.kv4o",
     "the extension of a file the run writes"},
    {"data file named names.dat", "copy names.dat", "@/names.dat", "", 65, "names.dat",
     "cannot be named names.dat"},
    {"file name with a line break, beside the file its second line names",
     "copy a\nb.kv4d; text b.kv4d", "@/a\nb.kv4d", "", 65, "a\nb.kv4d b.kv4d",
     "holds a line break"},
    {"organisation whose line breaks would name another file as the report", "text victim",
     "@/pile.kv4d", "KORVAN_ORGANISATION=Acme\nX\n1\n@/pile.kv4d\n@/victim", 0, "victim",
     "Results due to tip movements"},
    {"identification number beyond 32 bits", "", "@/pile.kv4d", "KORVAN_ID=99999999999", 65,
     "pile.kv4o", "is outside the range -2147483648 to 2147483647"},
    {"identification number that is no number", "", "@/pile.kv4d", "KORVAN_ID=12abc", 65,
     "pile.kv4o", "KORVAN_ID must be a whole number"},
    {"stale names.dat in a folder that cannot be written", "stale names.dat; lock", "@/pile.kv4d",
     "", 73, "names.dat pile.kv4o", "An error occured while writing file names"},
    {"names.dat is a folder", "folder names.dat", "@/pile.kv4d", "", 73, "names.dat pile.kv4o",
     "An error occured while writing file names"},
    {"names.dat of the user's own beside the data file", "text names.dat", "@/pile.kv4d", "", 73,
     "names.dat pile.kv4o pile.kv4p", "holds a file names.dat that no run left there",
     "Results due to"},
    {"names.dat is a FIFO", "fifo names.dat", "@/pile.kv4d", "", 73, "names.dat pile.kv4o",
     "holds a file names.dat that no run left there"},
    {"names.dat that a run killed outright left behind", "stale names.dat", "@/pile.kv4d", "", 0,
     "", "Results due to tip movements", "", "names.dat"},
    {"data file of an earlier generation", "copy old.kv3d", "@/old.kv3d", "", 65,
     "old.kv3d pile.kv4o", "convert it first with korvan convert", "", "old.kv4o old.kv4d"},
    {"data file of the generation before", "copy old.KVD", "@/old.KVD", "", 65, "old.KVD",
     "convert it first with korvan convert", "", "old.kv4o"},
    {"empty path", "", "", "", 64, "pile.kv4o", "empty"},
    {"path over 4096 characters", "", "@/{4100}", "", 66, "pile.kv4o", "longer than 4095"},
    {"relative path from a deleted current folder", "", "pile.kv4d", "", 66, "pile.kv4o",
     "cannot resolve"},
    {"absolute path from a deleted current folder", "", "@/pile.kv4d", "", 0, "",
     "Results due to tip movements"},
    {"report is a FIFO", "fifo pile.kv4o", "@/pile.kv4d", "", 9, "pile.kv4o",
     "THE REPORT FILE IS NOT A REGULAR FILE", "see the report"},
    {"plot file is a FIFO beside an earlier report", "fifo pile.kv4p", "@/pile.kv4d", "", 9,
     "pile.kv4o pile.kv4p", "THE PLOT FILE IS NOT A REGULAR FILE", "see the report"},
    {"malformed data file", "text pile.kv4d", "@/pile.kv4d", "", 3, "",
     "result code 3; see the report."},
};

TEST(RunnerSafety, EveryFailureIsAMessageAndAnExitStatus) {
  for (const RunnerCase& row : kRunnerCases) {
    SCOPED_TRACE(row.what);
    const Scene scene("korvan_runner_safety");
    scene.Make(row.steps);
    testing::ChildOptions options;
    options.unprivileged = std::string_view(row.steps).ends_with("lock");
    if (const std::string variable = row.variable; !variable.empty()) {
      std::string value = variable.substr(variable.find('=') + 1);
      testing::Replace(value, "@", scene.Folder().string());
      options.environment = {{variable.substr(0, variable.find('=')), value}};
    }
    // The two rows of a deleted current folder start in one.
    const bool deleted = std::string_view(row.what).ends_with("deleted current folder");
    if (deleted) options.folder = scene.Path("sub");
    const std::string argument = *row.argument == '@' ? scene.Path(row.argument) : row.argument;
    const bool namesGo = std::string_view(row.gone).find("names.dat") != std::string_view::npos;
    const std::string kept =
        std::string(row.unchanged) + " pile.kv4d" + (namesGo ? "" : " names.dat");
    const std::vector<std::string> before = scene.Snapshot(kept);

    const std::string bin = options.unprivileged ? testing::RunnerForEveryone() : KORVAN_BIN_DIR;
    const testing::ChildOutcome outcome = RunInChild(
        [&] {
          if (deleted) std::filesystem::remove(options.folder);
          return testing::ExecKorvanRun(argument, bin);
        },
        options);
    EXPECT_TRUE(outcome.exited) << "the runner did not end by itself";
    EXPECT_EQ(outcome.status, row.status) << outcome.output;
    EXPECT_NE(outcome.output.find(row.says), std::string::npos) << outcome.output;
    if (*row.never) {
      EXPECT_EQ(outcome.output.find(row.never), std::string::npos) << outcome.output;
    }
    // names.dat, as every file kept, is as it was: absent unless set up.
    EXPECT_EQ(scene.Snapshot(kept), before);
    for (const std::string& name : testing::Split(row.gone, ' ')) {
      EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(scene.Path(name))))
          << name;
    }
    EXPECT_EQ(scene.EntriesStartingWith(".korvan."), std::vector<std::string>());
  }
}

// The help lists every status a stopped run exits with by what the engine's
// result code means, worded as the desktop program's message words it.
TEST(RunnerSafety, TheHelpNamesEveryResultCodeAsTheProgramDoes) {
  const testing::ChildOutcome help = RunInChild([] { return testing::ExecKorvan({"--help"}); }, {});
  ASSERT_EQ(help.status, 0) << help.output;
  // The help's lines are wrapped: compare with single blanks.
  std::string text;
  for (const std::string& word : testing::Split(help.output, ' ')) {
    for (const std::string& piece : testing::Split(word, '\n')) {
      if (!piece.empty()) text += piece + " ";
    }
  }
  int listed = 0;
  for (const ResultCodeRange& range : StoppedRunCodes()) {
    std::string codes = std::to_string(range.first);
    if (range.last != range.first) codes += "-" + std::to_string(range.last);
    const std::string meaning = range.meaning.substr(0, range.meaning.size() - 1);
    EXPECT_NE(text.find(" " + codes + " " + meaning + " "), std::string::npos) << codes;
    for (std::int32_t code = range.first; code <= range.last; ++code) {
      EXPECT_EQ(EngineResultMeaning(code), range.meaning) << code;
      ++listed;
    }
  }
  EXPECT_EQ(listed, 9) << "codes 1 to 9";
  EXPECT_EQ(EngineResultMeaning(10), "the engine returned an unknown result code.");
}

// Starts `korvan run data` with its output going to `output`.
pid_t StartRunner(std::string data, const std::filesystem::path& output) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string program = std::string(KORVAN_BIN_DIR) + "/korvan", run = "run";
  char* argv[] = {program.data(), run.data(), data.data(), nullptr};
  pid_t pid = -1;
  posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

TEST(RunnerSafety, TwoRunnersInOneFolderEachPrintTheirOwnResults) {
  const Scene scene("korvan_runner_turns");
  std::filesystem::copy_file(std::string(KORVAN_EXAMPLES_DIR) + "/api-clay-sand.kv4d",
                             scene.Path("other.kv4d"));
  const std::string projects[] = {scene.Path("pile.kv4d"), scene.Path("other.kv4d")};
  std::string alone[2];
  for (int i = 0; i < 2; ++i) {
    ::waitpid(StartRunner(projects[i], scene.Path("sub/alone")), nullptr, 0);
    alone[i] = ReadText(scene.Path("sub/alone"));
    ASSERT_NE(alone[i].find("Results due to applied loads"), std::string::npos) << alone[i];
  }
  for (int round = 0; round < 25; ++round) {
    const pid_t runners[] = {StartRunner(projects[0], scene.Path("sub/0")),
                             StartRunner(projects[1], scene.Path("sub/1"))};
    for (int i = 0; i < 2; ++i) {
      int status = -1;
      ::waitpid(runners[i], &status, 0);
      EXPECT_EQ(status, 0) << "round " << round;
      EXPECT_EQ(ReadText(scene.Path("sub/" + std::to_string(i))), alone[i]) << "round " << round;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(scene.Path("names.dat")));
}

TEST(RunnerSafety, WritesThatFailGiveNineAndSayWhichFile) {
  const Scene scene("korvan_runner_full_disk");
  const std::string data = ReadText(scene.Path("pile.kv4d"));
  // With LSO 1 the report leaves out the distributions and is the smaller file.
  std::string brief = data;
  testing::Replace(brief, "\n60 0 1\n", "\n60 1 1\n");
  testing::WriteText(scene.Path("brief.kv4d"), brief);
  const auto run = [&](const char* project, rlim_t limit) {
    testing::ChildOptions options;
    options.fileSizeLimit = limit;
    return RunInChild([&] { return testing::ExecKorvanRun(scene.Path(project)); }, options);
  };
  ASSERT_EQ(run("pile.kv4d", RLIM_INFINITY).status, 0);
  ASSERT_EQ(run("brief.kv4d", RLIM_INFINITY).status, 0);
  const auto size = [&](const char* name) { return std::filesystem::file_size(scene.Path(name)); };
  ASSERT_GT(size("pile.kv4o"), size("pile.kv4p"));
  ASSERT_LT(size("brief.kv4o"), size("brief.kv4p"));

  struct Limit {
    const char* project;
    std::uintmax_t bytes;
    int status;
    const char* says;
    const char* never;
  };
  const Limit limits[] = {
      {"pile.kv4d", size("pile.kv4p") / 2, 9, "THE PLOT FILE COULD NOT BE WRITTEN WHOLE",
       "Results due to"},
      {"pile.kv4d", (size("pile.kv4p") + size("pile.kv4o")) / 2, 9,
       "THE REPORT FILE COULD NOT BE WRITTEN WHOLE", "THE PLOT FILE"},
      {"brief.kv4d", (size("brief.kv4o") + size("brief.kv4p")) / 2, 9,
       "THE PLOT FILE COULD NOT BE WRITTEN WHOLE", "THE REPORT FILE"},
      {"pile.kv4d", size("pile.kv4o"), 0, "Results due to applied loads", "FILE ERRORS"},
  };
  for (const Limit& limit : limits) {
    SCOPED_TRACE(std::string(limit.project) + " within " + std::to_string(limit.bytes));
    const testing::ChildOutcome outcome = run(limit.project, limit.bytes);
    EXPECT_EQ(outcome.status, limit.status) << outcome.output;
    EXPECT_NE(outcome.output.find(limit.says), std::string::npos) << outcome.output;
    EXPECT_EQ(outcome.output.find(limit.never), std::string::npos) << outcome.output;
  }
  // The report names the plot file that could not be written whole.
  EXPECT_NE(ReadText(scene.Path("brief.kv4o")).find("THE PLOT FILE COULD NOT BE WRITTEN WHOLE"),
            std::string::npos);
  EXPECT_EQ(ReadText(scene.Path("pile.kv4d")), data);
}

TEST(RunPreparation, RunsInOneFolderTakeTurnsAndRefusalsWriteNothing) {
  const std::filesystem::path saved = std::filesystem::current_path();
  const Scene scene("korvan_run_preparation");
  const UserIdentification user;
  const std::chrono::milliseconds brief(100);
  {
    TRunPreparation first(scene.Path("pile.kv4d"), user);
    ASSERT_TRUE(first.Ready()) << first.Message();
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), scene.Folder()));
    const std::string names = ReadText(scene.Path("names.dat"));
    EXPECT_EQ(names, RunDescriptionText(scene.Path("pile.kv4d"), user));
    TRunPreparation second(scene.Path("other.kv4d"), user, brief);
    EXPECT_EQ(second.Failure(), RunPreparationFailure::kFolderBusy);
    EXPECT_EQ(ReadText(scene.Path("names.dat")), names);
  }
  EXPECT_FALSE(std::filesystem::exists(scene.Path("names.dat")));

  UserIdentification wide;
  wide.idNumber = std::int64_t{1} << 31;
  const std::pair<std::string, RunPreparationFailure> refused[] = {
      {scene.Path("pile.kv4d "), RunPreparationFailure::kDataPathRefused},
      {scene.Path("pi{NUL}le.kv4d"), RunPreparationFailure::kDataPathRefused},
      {scene.Path("pile.kv4r"), RunPreparationFailure::kDataPathRefused},
  };
  for (const auto& [path, failure] : refused) {
    EXPECT_EQ(TRunPreparation(path, user, brief).Failure(), failure) << path;
  }
  EXPECT_EQ(TRunPreparation(scene.Path("pile.kv4d"), wide, brief).Failure(),
            RunPreparationFailure::kIdentificationRefused);
  EXPECT_FALSE(std::filesystem::exists(scene.Path("names.dat")));
  std::filesystem::current_path(saved);
}

TEST(RunDescriptionText, LineBreaksInIdentificationBecomeBlanks) {
  const UserIdentification user{"Acme\nFoundations", "Austin\r\n", "TX", -7};
  EXPECT_EQ(RunDescriptionText("/jobs/a.kv4d", user),
            std::string(kVersionText) +
                "\nAcme Foundations\nAustin, TX\n-7\n/jobs/a.kv4d\n/jobs/a.kv4o\n"
                "/jobs/a.kv4p\n/jobs/a.kv4r\n");
}

}  // namespace
}  // namespace korvan
