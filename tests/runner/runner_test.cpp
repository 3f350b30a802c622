#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "korvan_version.h"
#include "platform/dynlib.h"
#include "platform/messages.h"
#include "runner/engine_library.h"
#include "runner/engine_runner.h"
#include "runner/plot_summary.h"
#include "support/run_scene.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

TEST(RunDescriptionText, EightLinesWithDerivedPaths) {
  UserIdentification user{"Acme Foundations", "  Austin ", " TX ", 1234};
  EXPECT_EQ(RunDescriptionText("/jobs/pier 3/north.kv4d", user),
            std::string(kVersionText) +
                "\nAcme Foundations\nAustin, TX\n1234\n/jobs/pier 3/north.kv4d\n"
                "/jobs/pier 3/north.kv4o\n/jobs/pier 3/north.kv4p\n/jobs/pier 3/north.kv4r\n");
}

// Numbers too wide for the engine's fixed columns come in exponent form, with
// or without decimals; the summary reads each as its value.
TEST(PlotSummary, ExponentFormsOfWideNumbersReadAsTheirValues) {
  struct Wide {
    const char* curveNumber;
    const char* headLoad;
    double value;
  };
  const Wide cases[] = {
      {"1E+05", "1.0116E+06", 1011600.0},
      {"99999", "-1.000E+05", -100000.0},
      {"2.147E+09", "2E+04", 20000.0},
      {"7", "0.1000E+07", 1000000.0},
      // Read as the program's graphs read it: a sign of its own.
      {"+8", "+2.5E+04", 25000.0},
  };
  const fs::path plot =
      fs::temp_directory_path() / ("korvan_plot_summary_" + std::to_string(::getpid()) + ".kv4p");
  for (const Wide& c : cases) {
    SCOPED_TRACE(c.headLoad);
    std::ofstream(plot) << "1\n  " << c.curveNumber
                        << "          2      0.0000E+00\n 1.0E+00 1.0E-01\n 2.0E+00 2.0E-01\n"
                        << "2\n 0.0E+00 0.0E+00\n 1.0E+02 1.0E+00\n 1 2 2\n"
                        << " 5.000E+01 " << c.headLoad << " 1.000E-01\n"
                        << " 1.500E+02 5.000E+02 2.000E-02\n"
                        << "  " << c.headLoad << "  1.2000E-01  1.0000E-01  4.0000E+02\n";
    const auto summary = ReadPlotSummary(plot);
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->unitSystem, 2);
    ASSERT_EQ(summary->tipMovementRows.size(), 1u);
    EXPECT_EQ(summary->tipMovementRows[0].headLoad, c.value);
    EXPECT_EQ(summary->tipMovementRows[0].tipLoad, 400.0);
  }
  fs::remove(plot);
}

TEST(DynamicLibrary, EngineExportsOnlyWhatItShould) {
  platform::TDynamicLibrary library(std::string(KORVAN_BIN_DIR) + "/KORVAN2021_DLL.so", true);
  ASSERT_TRUE(library.GetIsOpen());
  using EntryPoint = std::int32_t (*)(std::int32_t, std::int32_t);
  auto entry = reinterpret_cast<EntryPoint>(library.FindProcedure("IKORVAN"));
  ASSERT_NE(entry, nullptr);

  // Any mode but 4 returns 1 at once and touches no file.
  const fs::path folder = fs::temp_directory_path() / "korvan_mode3";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path saved = fs::current_path();
  fs::current_path(folder);
  EXPECT_EQ(entry(3, 3), 1);
  EXPECT_TRUE(fs::is_empty(folder));
  fs::current_path(saved);
  fs::remove_all(folder);

  std::vector<std::string> messages;
  auto previous =
      platform::SetMessageHandler([&](const std::string& text) { messages.push_back(text); });
  EXPECT_EQ(library.FindProcedure("RunAnalysis"), nullptr);
  platform::SetMessageHandler(previous);
  ASSERT_EQ(messages.size(), 1u);
  // The loader's own words, naming the symbol, follow on the next line.
  EXPECT_EQ(messages[0], "Error Getting Function, error code = 2\n" + library.LastError());
  EXPECT_NE(library.LastError().find("RunAnalysis"), std::string::npos) << library.LastError();
  EXPECT_NE(library.FindProcedure("IKORVAN"), nullptr);
  EXPECT_EQ(library.LastError(), "");
}

TEST(DynamicLibrary, MissingLibraryShowsMessageAndStaysClosed) {
  std::vector<std::string> messages;
  auto previous =
      platform::SetMessageHandler([&](const std::string& text) { messages.push_back(text); });
  platform::TDynamicLibrary library("/nonexistent/KORVAN2021_DLL.so", true);
  platform::SetMessageHandler(previous);
  EXPECT_FALSE(library.GetIsOpen());
  const std::string why = "/nonexistent/KORVAN2021_DLL.so: No such file or directory";
  EXPECT_EQ(messages, std::vector<std::string>{"Error Loading Library, error code = 2\n" + why});
  EXPECT_THROW(library.FindProcedure("IKORVAN"), platform::EDLLNotOpenError);
  EXPECT_EQ(library.LastError(), why);
}

TEST(DynamicLibrary, TheRunnerSaysWhichLibraryIsMissing) {
  const fs::path folder = fs::temp_directory_path() / "korvan_no_engine";
  fs::create_directories(folder);
  const fs::path data = folder / "pile.kv4d";
  fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / "user-curves.kv4d", data,
                fs::copy_options::overwrite_existing);
  auto previous = platform::SetMessageHandler([](const std::string&) {});
  const EngineRun run = RunEngine(data, folder, UserIdentification{});
  platform::SetMessageHandler(previous);
  EXPECT_FALSE(run.called);
  EXPECT_EQ(run.failure, "Attempt to initialize DLL failed: Library is not open\n" +
                             (folder / "KORVAN2021_DLL.so").string() +
                             ": No such file or directory");
  EXPECT_FALSE(fs::exists(folder / "names.dat"));
  fs::remove_all(folder);
}

// The one loader of the engine: it loads and calls the library, or says why
// not in the loader's words.
TEST(EngineLibrary, CallsTheEngineOnceOrSaysWhyNot) {
  const fs::path folder =
      fs::temp_directory_path() / ("korvan_engine_library_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path notALibrary = folder / "not_a_library.so";
  std::ofstream(notALibrary) << "not an ELF file";
  const struct {
    const char* what;
    fs::path file;
    TEngineLibrary::TFailure failure;
    std::string error;        // the loader's exception
    std::string reasonStart;  // how the loader's reason begins
  } cases[] = {
      {"the engine", fs::path(KORVAN_BIN_DIR) / kEngineFileName, TEngineLibrary::TFailure::kNone,
       "", ""},
      {"no file", folder / "missing.so", TEngineLibrary::TFailure::kNotLoaded,
       "Library is not open", (folder / "missing.so").string() + ": No such file or directory"},
      {"no library", notALibrary, TEngineLibrary::TFailure::kNotLoaded,
       "Library failed to properly initialize", notALibrary.string() + ": "},
  };
  const fs::path saved = fs::current_path();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> messages;
    auto previous =
        platform::SetMessageHandler([&](const std::string& text) { messages.push_back(text); });
    TEngineLibrary engine(c.file);
    const bool loaded = engine.Load();
    platform::SetMessageHandler(previous);
    EXPECT_EQ(loaded, c.failure == TEngineLibrary::TFailure::kNone);
    EXPECT_EQ(engine.Failure(), c.failure);
    EXPECT_EQ(engine.Error(), c.error);
    EXPECT_EQ(engine.Reason().rfind(c.reasonStart, 0), 0u) << engine.Reason();
    if (!loaded) continue;
    // Called where no run was prepared: the engine finds no names.dat.
    fs::current_path(folder);
    EXPECT_EQ(engine.Call(), 2);
    fs::current_path(saved);
  }
  fs::remove_all(folder);
}

TEST(DynamicLibrary, FileThatIsNoLibraryRaisesInitError) {
  const fs::path fake = fs::temp_directory_path() / "korvan_not_a_library.so";
  std::ofstream(fake) << "not an ELF file";
  platform::TDynamicLibrary library;
  EXPECT_THROW(library.OpenFile(fake.string()), platform::EInitError);
  EXPECT_FALSE(library.GetIsOpen());
  // The loader names the file it could not load.
  EXPECT_EQ(library.LastError().rfind(fake.string() + ": ", 0), 0u) << library.LastError();
  fs::remove(fake);
}

// The runner prints results only from a plot file the engine wrote whole.
TEST(PlotSummary, FilesCutShortOrNotRegularAreNoResults) {
  const testing::Scene scene("korvan_plot_summary");
  scene.Make("analysed pile");
  const std::string whole = testing::ReadText(scene.Path("pile.kv4p"));
  ASSERT_TRUE(whole.ends_with("\n"));
  const std::optional<PlotSummary> complete = ReadPlotSummary(scene.Path("pile.kv4p"));
  ASSERT_TRUE(complete.has_value());
  ASSERT_FALSE(complete->tipMovementRows.empty());
  const struct {
    const char* what;
    const char* steps;
    std::string text;  // written over pile.kv4p unless empty
  } damaged[] = {
      {"cut inside its last number", "text pile.kv4p", whole.substr(0, whole.size() - 3)},
      {"without its last line break", "text pile.kv4p", whole.substr(0, whole.size() - 1)},
      {"a FIFO", "fifo pile.kv4p", ""},
      {"a folder", "folder pile.kv4p", ""},
      {"blank, as a stopped run leaves it", "text pile.kv4p", "\n"},
      {"a curve count the file cannot hold", "text pile.kv4p",
       "2147483647" + whole.substr(whole.find('\n'))},
      {"a word that is no number in its last line", "text pile.kv4p",
       whole.substr(0, whole.find_last_not_of(" \n") - 2) + " x\n"},
      {"a number beyond the reals in its last line", "text pile.kv4p",
       whole.substr(0, whole.find_last_not_of(" \n") - 2) + " 1E+999\n"},
  };
  for (const auto& row : damaged) {
    SCOPED_TRACE(row.what);
    scene.Make(row.steps);
    if (!row.text.empty()) testing::WriteText(scene.Path("pile.kv4p"), row.text);
    EXPECT_FALSE(ReadPlotSummary(scene.Path("pile.kv4p")).has_value());
  }
}

}  // namespace
}  // namespace korvan
