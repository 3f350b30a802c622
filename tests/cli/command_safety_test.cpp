// korvan's commands under the set-ups an adversarial user tries: each row
// names its set-up, the command, the exit status, the files that must stay
// byte for byte, those that must be made and those that must not exist
// afterwards. No command may destroy a file, hang (an alarm ends a child
// after a minute) or report a success it did not have, and none leaves a
// temporary file behind. Signals are sent to commands at work in child
// processes.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>

#include <chrono>
#include <thread>

#include "platform/safe_output.h"
#include "runner/run_preparation.h"
#include "support/run_scene.h"

namespace korvan {
namespace {

using testing::Scene;
namespace fs = std::filesystem;

enum class Child { kPlain, kUnprivileged, kFullOutput, kSmallFiles };

struct CommandCase {
  const char* what;
  const char* steps;      // Scene::Make, after the sample's run ("analysed pile")
  const char* arguments;  // after "korvan", blank-separated; Scene::Path's placeholders
  int status;
  const char* unchanged = "";  // besides pile.kv4d, pile.kv4o and pile.kv4p
  const char* made = "";       // regular files that must exist afterwards
  const char* absent = "";     // names that must not exist afterwards
  const char* says = "";
  const char* never = "";
  Child child = Child::kPlain;
  int orStatus = -1;  // another status the row accepts (see its set-up)
};

const CommandCase kCommandCases[] = {
    // An output over the project's own files.
    {"workbook over the project data file", "", "export @/pile.kv4d --out @/pile.kv4d", 73, "", "",
     "", "it is the project data file"},
    {"workbook over the plot data file", "", "export @/pile.kv4d --out @/pile.kv4p", 73, "", "", "",
     "it is the plot data file"},
    {"workbook over the report", "", "export @/pile.kv4d --out @/pile.kv4o", 73, "", "", "",
     "it is the report"},
    {"workbook over the graph settings", "text pile.kv4g", "export @/pile.kv4d --out @/pile.kv4g",
     73, "pile.kv4g", "", "", "it is the graph settings file"},
    {"workbook over a hard link of the data file", "hard book.xlsx",
     "export @/pile.kv4d --out @/book.xlsx", 73, "book.xlsx", "", "",
     "it is the project data file"},
    {"workbook over another project", "copy other.kv4d", "export @/pile.kv4d --out @/other.kv4d",
     73, "other.kv4d", "", "", "the extension .kv4d of a project's files"},
    {"picture through a link to the data file", "link pile-load-distribution.png",
     "plot @/pile.kv4d", 73, "pile-load-distribution.png", "pile-t-z-curves.png", "",
     "it is the project data file"},
    {"PDF report over the project data file", "", "report @/pile.kv4d --out @/pile.kv4d", 73, "",
     "", "", "it is the project data file"},
    {"PDF report over the run's report", "", "report @/pile.kv4d --out @/pile.kv4o", 73, "", "", "",
     "it is the report"},
    {"PDF report over the run notes", "", "report @/pile.kv4d --out @/pile.kv4r", 73, "pile.kv4r",
     "", "", "it is the run-notes file"},
    {"project converted over itself", "", "convert @/pile.kv4d @/pile.kv4d", 73, "", "", "",
     "It is the project data file being converted"},
    {"project converted over itself spelt otherwise", "", "convert @/pile.kv4d @/sub/../pile.kv4d",
     73, "", "", "", "It is the project data file being converted"},
    // Files the user may not write, and names taken by other things.
    {"workbook over a read-only workbook", "text b.xlsx; readonly b.xlsx; open",
     "export @/pile.kv4d --out @/b.xlsx", 73, "b.xlsx", "", "", "it is read-only", "",
     Child::kUnprivileged},
    {"project converted over a read-only file", "text out.kv4d; readonly out.kv4d; open",
     "convert @/pile.kv4d @/out.kv4d", 73, "out.kv4d", "", "", "It is read-only", "",
     Child::kUnprivileged},
    {"picture over a read-only picture",
     "text pile-t-z-curves.png; readonly pile-t-z-curves.png; open", "plot @/pile.kv4d", 73,
     "pile-t-z-curves.png", "pile-load-distribution.png", "", "it is read-only", "",
     Child::kUnprivileged},
    {"PDF report over a read-only PDF", "text r.pdf; readonly r.pdf; open",
     "report @/pile.kv4d --out @/r.pdf", 73, "r.pdf", "", "", "it is read-only", "",
     Child::kUnprivileged},
    {"PDF report over a folder", "folder r.pdf", "report @/pile.kv4d --out @/r.pdf", 73, "r.pdf",
     "", "", "a folder has that name"},
    {"workbook over a FIFO", "fifo b.xlsx", "export @/pile.kv4d --out @/b.xlsx", 73, "b.xlsx", "",
     "", "it exists and is not a regular file"},
    {"workbook over a folder", "folder b.xlsx", "export @/pile.kv4d --out @/b.xlsx", 73, "b.xlsx",
     "", "", "a folder has that name"},
    {"workbook in a missing folder", "", "export @/pile.kv4d --out @/none/b.xlsx", 73, "", "",
     "none", "the folder does not exist"},
    // Names as the bytes given.
    {"project converted to a name that is not UTF-8", "", "convert @/pile.kv4d @/o{FF}.kv4d", 0, "",
     "o{FF}.kv4d", "o{FFFD}.kv4d"},
    {"project converted from a name that is not UTF-8", "copy q{FF}.kv4d",
     "convert @/q{FF}.kv4d @/o{FE}.kv4d", 0, "q{FF}.kv4d", "o{FE}.kv4d", "o{FFFD}.kv4d"},
    {"pictures of a project whose names are not UTF-8", "copy q{FF}.kv4d; analysed q{FF}",
     "plot @/q{FF}.kv4d --out @/d{FE}", 0, "q{FF}.kv4d", "d{FE}/q{FF}-t-z-curves.png", "d{FFFD}",
     "d{FE}/q{FF}-load-distribution.png"},
    {"workbook of a project whose names are not UTF-8", "copy q{FF}.kv4d; analysed q{FF}",
     "export @/q{FF}.kv4d --out @/w{FE}.xlsx", 0, "q{FF}.kv4d", "w{FE}.xlsx", "w{FFFD}.xlsx"},
    {"PDF report of a project whose names are not UTF-8", "copy q{FF}.kv4d; analysed q{FF}",
     "report @/q{FF}.kv4d --out @/r{FE}.pdf", 0, "q{FF}.kv4d", "r{FE}.pdf", "r{FFFD}.pdf"},
    {"project converted to a name of 245 characters", "", "convert @/pile.kv4d @/{240}.kv4d", 0, "",
     "{240}.kv4d"},
    {"workbook of a name of 245 characters", "", "export @/pile.kv4d --out @/{240}.xlsx", 0, "",
     "{240}.xlsx"},
    // Texts that XML and spreadsheets must take as literals.
    {"workbook of line names like formulas and with control characters", "settings pile.kv4g",
     "export @/pile.kv4d --out @/b.xlsx", 0, "pile.kv4g", "b.xlsx", "",
     "is used for Load Distribution only"},
    // Inputs that are no regular files, or cut short.
    {"plot data file is a FIFO", "fifo pile.kv4p", "plot @/pile.kv4d", 65, "pile.kv4p", "",
     "pile-t-z-curves.png", "it is not a regular file"},
    {"plot data file is a FIFO, exported", "fifo pile.kv4p", "export @/pile.kv4d", 65, "pile.kv4p",
     "", "pile.xlsx", "it is not a regular file"},
    {"graph settings are a FIFO", "fifo pile.kv4g", "export @/pile.kv4d", 0, "pile.kv4g",
     "pile.xlsx", "", "is not used: it is not a regular file"},
    {"plot data file cut inside its last number, reported", "cut pile.kv4p", "report @/pile.kv4d",
     65, "", "", "pile.pdf", "cut short"},
    {"PDF report of a project never analysed", "remove pile.kv4p", "report @/pile.kv4d", 65, "", "",
     "pile.pdf", "run the analysis first"},
    {"run's report a FIFO: the PDF report lists no warnings", "fifo pile.kv4o",
     "report @/pile.kv4d", 0, "pile.kv4o", "pile.pdf", "", "lists no warnings of the run"},
    {"project data file is a FIFO", "fifo pile.kv4d", "plot @/pile.kv4d", 66, "", "",
     "pile-t-z-curves.png", "it is not a regular file"},
    {"project to convert is a FIFO", "fifo pile.kv4d", "convert @/pile.kv4d @/out.kv4d", 66, "", "",
     "out.kv4d", "it is not a regular file"},
    {"plot data file cut inside its last number", "cut pile.kv4p", "plot @/pile.kv4d", 65, "", "",
     "pile-t-z-curves.png", "cut short"},
    {"plot data file cut inside its last number, exported", "cut pile.kv4p", "export @/pile.kv4d",
     65, "", "", "pile.xlsx", "cut short"},
    // Standard output that takes nothing.
    {"run printing to a full device", "", "run @/pile.kv4d", 74, "", "", "names.dat",
     "standard output could not be written", "", Child::kFullOutput},
    {"plot printing to a full device", "", "plot @/pile.kv4d", 74, "", "pile-t-z-curves.png", "",
     "standard output could not be written", "", Child::kFullOutput},
    {"export printing to a full device", "", "export @/pile.kv4d", 74, "", "pile.xlsx", "",
     "standard output could not be written", "", Child::kFullOutput},
    {"PDF report printing to a full device", "", "report @/pile.kv4d", 74, "", "pile.pdf", "",
     "standard output could not be written", "", Child::kFullOutput},
    {"help printing to a full device", "", "--help", 74, "", "", "",
     "standard output could not be written", "", Child::kFullOutput},
    // A full disk.
    {"pictures on a full disk", "", "plot @/pile.kv4d", 73, "", "", "pile-t-z-curves.png",
     "File too large", "Unknown error", Child::kSmallFiles},
    {"workbook on a full disk", "text b.xlsx", "export @/pile.kv4d --out @/b.xlsx", 73, "b.xlsx",
     "", "", "could not be written to @/b.xlsx: File too large", ".part", Child::kSmallFiles},
    {"PDF report on a full disk", "text r.pdf", "report @/pile.kv4d --out @/r.pdf", 73, "r.pdf", "",
     "", "could not be written to @/r.pdf: File too large", ".part", Child::kSmallFiles},
    // Messages.
    {"option without its value", "", "export @/pile.kv4d --plots", 64, "", "", "pile.xlsx",
     "--plots needs a value"},
    {"switch no command knows", "", "plot @/pile.kv4d --colour", 64, "", "", "pile-t-z-curves.png",
     "unknown option --colour", "needs a value"},
    {"two projects", "", "report @/pile.kv4d @/pile.kv4d", 64, "", "", "pile.pdf",
     "more than one project given"},
    {"options without a project", "", "export --no-markers", 64, "", "", "", "no project given"},
    {"jobs joined to their option", "", "study @/pile.kv4d --vary length=600:700:100 -j0", 64, "",
     "", "pile-length-study", "-j must be a whole number from 1 to 64"},
    {"jobs joined to their option, taken", "", "study @/pile.kv4d --vary length=600:700:100 -j2", 0,
     "", "pile-length-study/study.csv", ""},
    {"paper of no known size", "", "report @/pile.kv4d --paper a3", 64, "", "", "pile.pdf",
     "--paper takes a4 or letter"},
    {"resolution beyond the integers", "", "plot @/pile.kv4d --dpi 2147483648", 64, "", "",
     "pile-t-z-curves.png", "--dpi must be a whole number from 10 to 100000"},
    {"width beyond any picture", "", "plot @/pile.kv4d --width 1e308", 64, "", "",
     "pile-t-z-curves.png", "--width must be a number from 2 to 1000"},
    {"picture beyond any memory", "", "plot @/pile.kv4d --width 900 --height 900 --dpi 1000", 64,
     "", "", "pile-t-z-curves.png", "cannot be made: There is not enough memory"},
    {"graph settings holding the first graph's block only", "settings pile.kv4g",
     "plot @/pile.kv4d", 0, "pile.kv4g", "pile-t-z-curves.png", "",
     "is used for Load Distribution only; the settings of the other graphs are not used"},
    {"user t-z curve numbered 100000", "usercurve pile.kv4d", "run @/pile.kv4d", 0, "", "",
     "names.dat", "", "holds no complete results"},
    // Design studies.
    {"study's folder over a file", "text out",
     "study @/pile.kv4d --vary length=600:700:100 --out @/out", 73, "out", "", "",
     "Not a directory"},
    {"study of a project that is a FIFO", "fifo q.kv4d", "study @/q.kv4d --vary length=600:700:100",
     66, "", "", "q-length-study", "it is not a regular file"},
    {"study's variant through a link to the project", "link pile-length-600.kv4d",
     "study @/pile.kv4d --vary length=600:700:100 --out @", 73, "pile-length-600.kv4d", "",
     "study.csv pile-length-700.kv4d", "it is the project data file"},
    {"study beside another project of a variant's name", "copy pile-length-600.kv4o",
     "study @/pile.kv4d --vary length=600:700:100 --out @", 0, "pile-length-600.kv4o",
     "pile-length-600.kv4d study.csv pile-length-curves.png", "pile-length-600.kv4p"},
    {"study printing to a full device", "", "study @/pile.kv4d --vary length=600:700:100", 74, "",
     "pile-length-study/study.csv pile-length-study/pile-length-700.kv4d", "",
     "standard output could not be written", "", Child::kFullOutput},
    {"study with more variants than a study takes", "", "study @/pile.kv4d --vary length=1:300:1",
     64, "", "", "pile-length-study", "more than 200 variants"},
    // Temporary files of a command killed outright.
    {"temporary files of a process that ended and of one that lives",
     "text .korvan.{dead}.abc.part; text .korvan.1.abc.part", "export @/pile.kv4d", 0,
     ".korvan.1.abc.part", "pile.xlsx", ".korvan.{dead}.abc.part"},
};

// The sample's user curves with the last one numbered 100000: a number
// wider than the plot file's field for it.
void MakeUserCurveProject(const Scene& scene, const std::string& name) {
  std::string text = testing::ReadText(fs::path(KORVAN_EXAMPLES_DIR) / "user-curves.kv4d");
  testing::Replace(text, "\n4 600.0 4\n", "\n100000 600.0 4\n");
  testing::WriteText(scene.Path(name), text);
}

std::vector<std::string> Arguments(const Scene& scene, const char* arguments) {
  std::vector<std::string> split = testing::Split(arguments, ' ');
  for (std::string& argument : split) {
    testing::Replace(argument, "@", scene.Folder().string());
    Scene::Expand(argument);
  }
  return split;
}

TEST(CommandSafety, NoCommandDestroysAFileHangsOrClaimsASuccessItDidNotHave) {
  for (const CommandCase& row : kCommandCases) {
    SCOPED_TRACE(row.what);
#ifndef KORVAN_HAS_COMMANDS
    // A build without the front end has the run alone.
    if (!std::string_view(row.arguments).starts_with("run") &&
        !std::string_view(row.arguments).starts_with("--"))
      continue;
#endif
    const Scene scene("korvan_command_safety");
    scene.Make("analysed pile");
    std::string steps = row.steps;
    if (steps.starts_with("usercurve ")) {
      MakeUserCurveProject(scene, steps.substr(10));
      steps.clear();
    }
    scene.Make(steps);
    // A run writes its own report and plot file.
    const bool run = std::string_view(row.arguments).starts_with("run");
    const std::string kept =
        std::string(row.unchanged) + (run ? " pile.kv4d" : " pile.kv4d pile.kv4o pile.kv4p");
    const std::vector<std::string> before = scene.Snapshot(kept);

    testing::ChildOptions options;
    options.unprivileged = row.child == Child::kUnprivileged;
    if (row.child == Child::kFullOutput) options.standardOutput = "/dev/full";
    if (row.child == Child::kSmallFiles) options.fileSizeLimit = 4096;
    const std::string bin = options.unprivileged ? testing::RunnerForEveryone() : KORVAN_BIN_DIR;
    const std::vector<std::string> arguments = Arguments(scene, row.arguments);
    const testing::ChildOutcome outcome =
        testing::RunInChild([&] { return testing::ExecKorvan(arguments, bin); }, options);

    EXPECT_TRUE(outcome.exited) << "the command did not end by itself";
    if (outcome.status != row.orStatus) EXPECT_EQ(outcome.status, row.status) << outcome.output;
    std::string says = row.says;
    testing::Replace(says, "@", scene.Folder().string());
    Scene::Expand(says);
    if (outcome.status == row.status) {
      EXPECT_NE(outcome.output.find(says), std::string::npos) << outcome.output;
    }
    if (*row.never) EXPECT_EQ(outcome.output.find(row.never), std::string::npos) << outcome.output;
    // Success is never claimed for results that are not there.
    if (outcome.output.find("holds no complete results") != std::string::npos) {
      EXPECT_NE(outcome.status, 0) << outcome.output;
    }
    EXPECT_EQ(scene.Snapshot(kept), before);
    for (const std::string& name : testing::Split(row.made, ' ')) {
      EXPECT_TRUE(fs::is_regular_file(scene.Path(name))) << name;
    }
    for (const std::string& name : testing::Split(row.absent, ' ')) {
      EXPECT_FALSE(fs::exists(fs::symlink_status(scene.Path(name)))) << name;
    }
    // No temporary file stays, but one the row kept on purpose.
    for (const std::string& name : scene.EntriesStartingWith(".korvan.")) {
      EXPECT_NE(kept.find(name), std::string::npos) << name << " was left behind";
    }
  }
}

// A drawing's bytes hold no character that XML forbids.
TEST(CommandSafety, DrawingsOfLineNamesWithControlCharactersAreValidXml) {
#ifdef KORVAN_HAS_COMMANDS
  const Scene scene("korvan_command_xml");
  scene.Make("analysed pile; settings pile.kv4g");
  const testing::ChildOutcome outcome = testing::RunInChild(
      [&] {
        return testing::ExecKorvan({"plot", scene.Path("pile.kv4d"), "--format", "svg"});
      },
      {});
  ASSERT_EQ(outcome.status, 0) << outcome.output;
  const std::string svg = testing::ReadText(scene.Path("pile-load-distribution.svg"));
  ASSERT_NE(svg.find("=Page_1!"), std::string::npos);
  for (const char c : svg) {
    const auto byte = static_cast<unsigned char>(c);
    EXPECT_FALSE(byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')
        << "byte " << int(byte);
  }
#endif
}

// Watches `folder` and sends `signal` to `child` as soon as an entry whose
// name begins with `trigger` appears in it. False when none appeared
// before the child ended.
bool SignalWhenEntryAppears(const fs::path& folder, const std::string& trigger, pid_t child,
                            int signal) {
  const int watch = ::inotify_init1(IN_CLOEXEC);
  ::inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MOVED_TO);
  bool sent = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!sent && std::chrono::steady_clock::now() < deadline) {
    pollfd events{watch, POLLIN, 0};
    if (::poll(&events, 1, 50) > 0) {
      alignas(inotify_event) char buffer[4096];
      const ssize_t n = ::read(watch, buffer, sizeof buffer);
      for (ssize_t at = 0; at < n && !sent;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0 && std::string_view(event->name).starts_with(trigger)) {
          sent = ::kill(child, signal) == 0;
        }
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    if (::waitpid(child, nullptr, WNOHANG | WNOWAIT) == child) break;
  }
  ::close(watch);
  return sent;
}

struct SignalCase {
  const char* what;
  const char* steps;
  const char* arguments;
  bool pausingEngine;  // the run's engine waits for the signal
  // The signal goes when an entry of this name appears; without one, while
  // the test holds the folder's lock and the run waits for it.
  const char* trigger;
  int signal;
  const char* unchanged;
  bool mayFinishFirst;  // a real command may end before the signal arrives
};

const SignalCase kSignalCases[] = {
    {"SIGTERM while the engine runs", "", "run @/pile.kv4d", true, "engine-started", SIGTERM,
     "pile.kv4o pile.kv4p pile.kv4r", false},
    {"SIGINT while the engine runs", "", "run @/pile.kv4d", true, "engine-started", SIGINT,
     "pile.kv4o pile.kv4p pile.kv4r", false},
    {"SIGTERM while the engine runs beside a names.dat a killed run left", "stale names.dat",
     "run @/pile.kv4d", true, "engine-started", SIGTERM, "pile.kv4o pile.kv4p", false},
    {"SIGTERM once a real run has written names.dat", "", "run @/pile.kv4d", false, "names.dat",
     SIGTERM, "pile.kv4o pile.kv4p", true},
    {"SIGINT while a run waits for a busy folder", "", "run @/pile.kv4d", false, nullptr, SIGINT,
     "pile.kv4o pile.kv4p pile.kv4r", false},
    // When the signal reaches the command is left to the scheduler: it may
    // come after a file was renamed into place. That a file under way is
    // never renamed after a signal is SafeOutput's own test.
    {"SIGTERM while a workbook is written", "", "export @/pile.kv4d --out @/b.xlsx", false,
     ".korvan.", SIGTERM, "", true},
    {"SIGINT while pictures are written", "", "plot @/pile.kv4d", false, ".korvan.", SIGINT, "",
     true},
    {"SIGTERM while a PDF report is written", "", "report @/pile.kv4d --out @/r.pdf", false,
     ".korvan.", SIGTERM, "", true},
    {"SIGTERM while a study writes its variants", "",
     "study @/pile.kv4d --vary length=600:800:10 --out @", false, ".korvan.", SIGTERM, "", true},
};

TEST(CommandSafety, SignalsEndACommandCleanly) {
  const std::string pausing = testing::RunnerWithEngine("pausing", KORVAN_PAUSING_ENGINE);
  for (const SignalCase& row : kSignalCases) {
    SCOPED_TRACE(row.what);
#ifndef KORVAN_HAS_COMMANDS
    if (!std::string_view(row.arguments).starts_with("run")) continue;
#endif
    const Scene scene("korvan_command_signal");
    scene.Make("analysed pile");
    scene.Make(row.steps);
    const std::string kept = std::string(row.unchanged) + " pile.kv4d";
    const std::vector<std::string> before = scene.Snapshot(kept);
    const std::vector<std::string> arguments = Arguments(scene, row.arguments);
    const std::string bin = row.pausingEngine ? pausing : KORVAN_BIN_DIR;
    const int folder = ::open(scene.Folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int locked = row.trigger == nullptr ? ::flock(folder, LOCK_EX) : 0;
    ASSERT_EQ(locked, 0);
    const testing::StartedChild child =
        testing::StartChild([&] { return testing::ExecKorvan(arguments, bin); }, {});
    bool sent = false;
    if (row.trigger != nullptr) {
      sent = SignalWhenEntryAppears(scene.Folder(), row.trigger, child.pid, row.signal);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the run waits a minute
      sent = ::kill(child.pid, row.signal) == 0;
    }
    const testing::ChildOutcome outcome = testing::FinishChild(child);
    ::close(folder);  // the test's lock, if it held one

    ASSERT_TRUE(outcome.exited) << outcome.output;
    if (sent && outcome.status != 0) {
      EXPECT_EQ(outcome.status, platform::TInterruptCleanup::ExitStatus(row.signal))
          << outcome.output;
      EXPECT_EQ(scene.Snapshot(kept), before);
    } else {
      EXPECT_TRUE(row.mayFinishFirst) << "no signal reached the command: " << outcome.output;
      EXPECT_EQ(outcome.status, 0) << outcome.output;
    }
    EXPECT_FALSE(fs::exists(scene.Path("names.dat")));
    EXPECT_EQ(scene.EntriesStartingWith(".korvan."), std::vector<std::string>());
    // The folder's lock went with the runner.
    const fs::path saved = fs::current_path();
    EXPECT_TRUE(
        TRunPreparation(scene.Path("pile.kv4d"), UserIdentification{}, std::chrono::milliseconds(0))
            .Ready());
    fs::current_path(saved);
  }
}

}  // namespace
}  // namespace korvan
