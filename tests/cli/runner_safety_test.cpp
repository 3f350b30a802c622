// `korvan run` and its run preparation under hostile set-ups: every failure
// is a message and a documented exit status, files stay byte for byte,
// names.dat never outlives a run, runs in one folder take turns, and a write
// that fails (a file-size limit standing in for a full disk) gives code 9.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "child_process.h"
#include "run_preparation.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;
using testing::ChildOptions;
using testing::ExecKorvan;
using testing::RunInChild;

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder holding the sample project as pile.kv4d and an earlier
// report, removed afterwards.
class Workspace {
 public:
  explicit Workspace(const std::string& name)
      : folder_(fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    Copy("driven-pile-clay-sand.kv4d", "pile.kv4d");
    WriteText(At("pile.kv4o"), "an earlier report\n");
  }
  ~Workspace() {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }
  fs::path At(const std::string& name) const { return folder_ / name; }
  std::string Path(const std::string& name) const { return At(name).string(); }
  void Copy(const std::string& example, const std::string& name) const {
    fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / example, At(name),
                  fs::copy_options::overwrite_existing);
  }

 private:
  fs::path folder_;
};

// How one `korvan run` is started.
struct Invocation {
  std::string data;  // the argument after "run"
  ChildOptions options;
  bool deleteStartFolder = false;  // the runner's current folder vanishes first
};

Invocation Runs(std::string data, ChildOptions options = {}, bool deleteStartFolder = false) {
  return {std::move(data), std::move(options), deleteStartFolder};
}

struct RunnerCase {
  const char* what;
  std::function<Invocation(const Workspace&)> prepare;
  int status;
  std::vector<std::string> unchanged;  // besides pile.kv4d
  const char* says;
  const char* never = nullptr;
};

const RunnerCase kRunnerCases[] = {
    {"project saved as .kv4p",
     [](const Workspace& w) {
       w.Copy("driven-pile-clay-sand.kv4d", "p.kv4p");
       return Runs(w.Path("p.kv4p"));
     },
     65,
     {"p.kv4p", "pile.kv4o"},
     "the extension of a file the run writes"},
    {"project saved as .kv4o",
     [](const Workspace& w) { return Runs(w.Path("pile.kv4o")); },
     65,
     {"pile.kv4o"},
     "the extension of a file the run writes"},
    {"data file named names.dat",
     [](const Workspace& w) {
       w.Copy("driven-pile-clay-sand.kv4d", "names.dat");
       return Runs(w.Path("names.dat"));
     },
     65,
     {"names.dat"},
     "cannot be named names.dat"},
    {"file name with a line break, beside the file its second line names",
     [](const Workspace& w) {
       w.Copy("driven-pile-clay-sand.kv4d", "a\nb.kv4d");
       WriteText(w.At("b.kv4d"), "unrelated\n");
       return Runs(w.Path("a\nb.kv4d"));
     },
     65,
     {"a\nb.kv4d", "b.kv4d"},
     "holds a line break"},
    {"organisation whose line breaks would name another file as the report",
     [](const Workspace& w) {
       WriteText(w.At("victim.txt"), "unrelated\n");
       const std::string organisation =
           "Acme\nX\n1\n" + w.Path("pile.kv4d") + "\n" + w.Path("victim.txt");
       return Runs(w.Path("pile.kv4d"),
                   testing::WithEnvironment("KORVAN_ORGANISATION", organisation));
     },
     0,
     {"victim.txt"},
     "Results due to tip movements"},
    {"identification number beyond 32 bits",
     [](const Workspace& w) {
       return Runs(w.Path("pile.kv4d"), testing::WithEnvironment("KORVAN_ID", "99999999999"));
     },
     65,
     {"pile.kv4o"},
     "is outside the range -2147483648 to 2147483647"},
    {"identification number that is no number",
     [](const Workspace& w) {
       return Runs(w.Path("pile.kv4d"), testing::WithEnvironment("KORVAN_ID", "12abc"));
     },
     65,
     {"pile.kv4o"},
     "KORVAN_ID must be a whole number"},
    {"stale names.dat in a folder that cannot be written",
     [](const Workspace& w) {
       WriteText(w.At("names.dat"), "a stale run description\n");
       fs::permissions(w.At(""),
                       fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                       fs::perm_options::remove);
       return Runs(w.Path("pile.kv4d"), testing::Unprivileged());
     },
     73,
     {"names.dat", "pile.kv4o"},
     "An error occured while writing file names"},
    {"names.dat is a folder",
     [](const Workspace& w) {
       fs::create_directory(w.At("names.dat"));
       return Runs(w.Path("pile.kv4d"));
     },
     73,
     {"names.dat", "pile.kv4o"},
     "An error occured while writing file names"},
    {"empty path", [](const Workspace&) { return Runs(""); }, 64, {"pile.kv4o"}, "empty"},
    {"path over 4096 characters",
     [](const Workspace& w) { return Runs(w.Path(std::string(4100, 'x'))); },
     66,
     {"pile.kv4o"},
     "longer than 4095"},
    {"relative path from a deleted current folder",
     [](const Workspace& w) {
       fs::create_directory(w.At("gone"));
       return Runs("pile.kv4d", testing::InFolder(w.At("gone")), true);
     },
     66,
     {"pile.kv4o"},
     "cannot resolve"},
    {"absolute path from a deleted current folder",
     [](const Workspace& w) {
       fs::create_directory(w.At("gone"));
       return Runs(w.Path("pile.kv4d"), testing::InFolder(w.At("gone")), true);
     },
     0,
     {},
     "Results due to tip movements"},
    {"report is a FIFO",
     [](const Workspace& w) {
       fs::remove(w.At("pile.kv4o"));
       ::mkfifo(w.At("pile.kv4o").c_str(), 0644);
       return Runs(w.Path("pile.kv4d"));
     },
     9,
     {},
     "THE REPORT FILE IS NOT A REGULAR FILE",
     "see the report"},
    {"plot file is a FIFO beside an earlier report",
     [](const Workspace& w) {
       ::mkfifo(w.At("pile.kv4p").c_str(), 0644);
       return Runs(w.Path("pile.kv4d"));
     },
     9,
     {"pile.kv4o"},
     "THE PLOT FILE IS NOT A REGULAR FILE",
     "see the report"},
    {"malformed data file",
     [](const Workspace& w) {
       WriteText(w.At("pile.kv4d"), "A title\n0 0 1\n");
       return Runs(w.Path("pile.kv4d"));
     },
     3,
     {},
     "result code 3; see the report."},
};

TEST(RunnerSafety, EveryFailureIsAMessageAndAnExitStatus) {
  for (const RunnerCase& row : kRunnerCases) {
    SCOPED_TRACE(row.what);
    const Workspace w("korvan_runner_safety");
    Invocation run = row.prepare(w);
    std::vector<std::string> kept = row.unchanged;
    kept.push_back("pile.kv4d");
    std::vector<std::string> before;
    for (const std::string& name : kept)
      before.push_back(fs::exists(w.At(name)) ? ReadText(w.At(name)) : "");
    const bool namesBefore = fs::exists(w.At("names.dat"));

    const testing::ChildOutcome outcome = RunInChild(
        [&] {
          if (run.deleteStartFolder) fs::remove(run.options.folder);
          return ExecKorvan({"run", run.data});
        },
        run.options);
    EXPECT_TRUE(outcome.exited) << "the runner did not end by itself";
    EXPECT_EQ(outcome.status, row.status) << outcome.output;
    EXPECT_NE(outcome.output.find(row.says), std::string::npos) << outcome.output;
    if (row.never) {
      EXPECT_EQ(outcome.output.find(row.never), std::string::npos) << outcome.output;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
      EXPECT_TRUE(fs::is_directory(w.At(kept[i])) || ReadText(w.At(kept[i])) == before[i])
          << kept[i];
    }
    EXPECT_EQ(fs::exists(w.At("names.dat")), namesBefore);
  }
}

// Starts `korvan run data` with its output going to `output`.
pid_t StartRunner(const fs::path& data, const fs::path& output) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string program = std::string(KORVAN_BIN_DIR) + "/korvan";
  std::string run = "run", path = data.string();
  char* argv[] = {program.data(), run.data(), path.data(), nullptr};
  pid_t pid = -1;
  posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

TEST(RunnerSafety, TwoRunnersInOneFolderEachPrintTheirOwnResults) {
  const Workspace w("korvan_runner_turns");
  w.Copy("api-clay-sand.kv4d", "other.kv4d");
  const fs::path outputs = w.At("outputs");
  fs::create_directory(outputs);
  const fs::path projects[] = {w.At("pile.kv4d"), w.At("other.kv4d")};
  std::string alone[2];
  for (int i = 0; i < 2; ++i) {
    int status = 0;
    ::waitpid(StartRunner(projects[i], outputs / "alone"), &status, 0);
    alone[i] = ReadText(outputs / "alone");
    ASSERT_NE(alone[i].find("Results due to applied loads"), std::string::npos) << alone[i];
  }
  for (int round = 0; round < 25; ++round) {
    const pid_t first = StartRunner(projects[0], outputs / "0");
    const pid_t second = StartRunner(projects[1], outputs / "1");
    int status[2] = {};
    ::waitpid(first, &status[0], 0);
    ::waitpid(second, &status[1], 0);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(status[i], 0) << "round " << round;
      EXPECT_EQ(ReadText(outputs / std::to_string(i)), alone[i]) << "round " << round;
    }
  }
  EXPECT_FALSE(fs::exists(w.At("names.dat")));
}

TEST(RunnerSafety, WritesThatFailGiveNineAndSayWhichFile) {
  const Workspace w("korvan_runner_full_disk");
  const std::string data = ReadText(w.At("pile.kv4d"));
  // With LSO 1 the report leaves out the distributions and is the smaller file.
  std::string brief = data;
  brief.replace(brief.find("\n60 0 1\n"), 8, "\n60 1 1\n");
  WriteText(w.At("brief.kv4d"), brief);
  ASSERT_EQ(RunInChild([&] { return ExecKorvan({"run", w.Path("pile.kv4d")}); }).status, 0);
  ASSERT_EQ(RunInChild([&] { return ExecKorvan({"run", w.Path("brief.kv4d")}); }).status, 0);
  const auto size = [&](const char* name) { return fs::file_size(w.At(name)); };
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
      {"pile", size("pile.kv4p") / 2, 9, "THE PLOT FILE COULD NOT BE WRITTEN WHOLE",
       "Results due to"},
      {"pile", (size("pile.kv4p") + size("pile.kv4o")) / 2, 9,
       "THE REPORT FILE COULD NOT BE WRITTEN WHOLE", "THE PLOT FILE"},
      {"brief", (size("brief.kv4o") + size("brief.kv4p")) / 2, 9,
       "THE PLOT FILE COULD NOT BE WRITTEN WHOLE", "THE REPORT FILE"},
      {"pile", size("pile.kv4o") + 1, 0, "Results due to applied loads", "FILE ERRORS"},
  };
  for (const Limit& limit : limits) {
    SCOPED_TRACE(std::string(limit.project) + " within " + std::to_string(limit.bytes));
    const std::string project = w.Path(std::string(limit.project) + ".kv4d");
    const testing::ChildOutcome run = RunInChild(
        [&] {
          return ExecKorvan({"run", project});
        },
        testing::WithFileSizeLimit(limit.bytes));
    EXPECT_EQ(run.status, limit.status) << run.output;
    EXPECT_NE(run.output.find(limit.says), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(limit.never), std::string::npos) << run.output;
  }
  // The report names the plot file that could not be written whole.
  EXPECT_NE(ReadText(w.At("brief.kv4o")).find("THE PLOT FILE COULD NOT BE WRITTEN WHOLE"),
            std::string::npos);
  EXPECT_EQ(ReadText(w.At("pile.kv4d")), data);
}

// The current directory of the test program, restored after a preparation
// has entered the project's folder.
class RunPreparationTest : public ::testing::Test {
 protected:
  void TearDown() override { fs::current_path(saved_); }
  fs::path saved_ = fs::current_path();
};

TEST_F(RunPreparationTest, RunsInOneFolderTakeTurns) {
  const Workspace w("korvan_run_preparation");
  const UserIdentification user;
  {
    TRunPreparation first(w.At("pile.kv4d"), user);
    ASSERT_TRUE(first.Ready()) << first.Message();
    EXPECT_TRUE(fs::equivalent(fs::current_path(), w.At("")));
    const std::string names = ReadText(w.At("names.dat"));
    EXPECT_EQ(names, RunDescriptionText(w.At("pile.kv4d"), user));

    TRunPreparation second(w.At("other.kv4d"), user, std::chrono::milliseconds(100));
    EXPECT_EQ(second.Failure(), RunPreparationFailure::kFolderBusy);
    EXPECT_EQ(ReadText(w.At("names.dat")), names);
  }
  EXPECT_FALSE(fs::exists(w.At("names.dat")));
  TRunPreparation third(w.At("pile.kv4d"), user, std::chrono::milliseconds(100));
  EXPECT_TRUE(third.Ready()) << third.Message();
  third.Release();
  EXPECT_FALSE(fs::exists(w.At("names.dat")));
}

TEST_F(RunPreparationTest, RefusedRunsWriteNothing) {
  const Workspace w("korvan_run_preparation_refused");
  UserIdentification wide;
  wide.idNumber = std::int64_t{1} << 31;
  struct Refused {
    std::string path;
    UserIdentification user;
    RunPreparationFailure failure;
  };
  const Refused cases[] = {
      {w.Path("pile.kv4d"), wide, RunPreparationFailure::kIdentificationRefused},
      {w.Path("pile.kv4d "), {}, RunPreparationFailure::kDataPathRefused},
      {std::string("pi\0le.kv4d", 10), {}, RunPreparationFailure::kDataPathRefused},
      {w.Path("pile.kv4r"), {}, RunPreparationFailure::kDataPathRefused},
  };
  for (const Refused& c : cases) {
    TRunPreparation run(c.path, c.user);
    EXPECT_EQ(run.Failure(), c.failure) << c.path;
    EXPECT_FALSE(run.Message().empty());
    EXPECT_FALSE(fs::exists(w.At("names.dat")));
  }
}

TEST(RunDescriptionText, LineBreaksInIdentificationBecomeBlanks) {
  const UserIdentification user{"Acme\nFoundations", "Austin\r\n", "TX", -7};
  EXPECT_EQ(RunDescriptionText("/jobs/a.kv4d", user),
            "2021.4.3\nAcme Foundations\nAustin, TX\n-7\n/jobs/a.kv4d\n/jobs/a.kv4o\n"
            "/jobs/a.kv4p\n/jobs/a.kv4r\n");
}

}  // namespace
}  // namespace korvan
