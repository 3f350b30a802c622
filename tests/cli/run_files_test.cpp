// The engine's run files under hostile run descriptions, through the shipped
// library in a child process: outputs that are the data file, the run
// description or each other, files that are no regular files, paths that are
// too long or hold a NUL, and a data file too large to read. Each set-up
// names the result code and the files that must stay byte for byte.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <fstream>
#include <sstream>

#include "child_process.h"
#include "dynlib.h"
#include "engine_runner.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// What a file is: its kind and, for a regular file, its bytes. FIFOs are
// never opened.
std::string Snapshot(const fs::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return "absent";
  if (S_ISFIFO(info.st_mode)) return "fifo";
  if (S_ISSOCK(info.st_mode)) return "socket";
  if (S_ISDIR(info.st_mode)) return "folder";
  if (S_ISLNK(info.st_mode)) return "link to " + fs::read_symlink(path).string();
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return "file: " + text.str();
}

struct Scene {
  fs::path folder;
  mutable std::vector<std::string> kept = {"pile.kv4d"};  // must stay byte for byte
  void Keep(const std::string& name) const { kept.push_back(name); }
  void MakeFifo(const std::string& name) const {
    fs::remove(At(name));
    ::mkfifo(At(name).c_str(), 0644);
  }
  fs::path At(const std::string& name) const { return folder / name; }
  std::string Path(const std::string& name) const { return At(name).string(); }
  void Names(const std::string& data, const std::string& report, const std::string& plot,
             const std::string& notes) const {
    WriteText(At("names.dat"), "2021.4.3\nAcme\nAustin, TX\n7\n" + data + "\n" + report + "\n" +
                                   plot + "\n" + notes + "\n");
  }
  // The usual run files of pile.kv4d, with one of them replaced.
  void NamesWith(int line, const std::string& path) const {
    std::string paths[4] = {Path("pile.kv4d"), Path("pile.kv4o"), Path("pile.kv4p"),
                            Path("pile.kv4r")};
    paths[line - 5] = path;
    Names(paths[0], paths[1], paths[2], paths[3]);
  }
};

struct Scenario {
  const char* what;
  std::function<void(const Scene&)> prepare;
  int code;
  std::vector<std::string> unchanged;  // besides pile.kv4d and those the set-up keeps
  const char* console;                 // what the console says
};

void MakeSocket(const fs::path& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  ::close(fd);
}

const std::string kLongName(200, 'n');

const Scenario kScenarios[] = {
    {"valid run", [](const Scene& s) { s.NamesWith(5, s.Path("pile.kv4d")); }, 0, {}, "PROCEEDING"},
    {"plot path is the data path",
     [](const Scene& s) { s.NamesWith(7, s.Path("pile.kv4d")); },
     9,
     {"pile.kv4o", "pile.kv4r"},
     "THE PLOT FILE IS THE PROJECT DATA FILE"},
    {"report path is the data path",
     [](const Scene& s) { s.NamesWith(6, s.Path("pile.kv4d")); },
     9,
     {"pile.kv4p"},
     "THE REPORT FILE IS THE PROJECT DATA FILE"},
    {"notes path is the data path",
     [](const Scene& s) { s.NamesWith(8, s.Path("pile.kv4d")); },
     9,
     {"pile.kv4o"},
     "THE RUN-NOTES FILE IS THE PROJECT DATA FILE"},
    {"plot path is the report path",
     [](const Scene& s) { s.NamesWith(7, s.Path("pile.kv4o")); },
     9,
     {"pile.kv4o"},
     "THE PLOT FILE IS THE REPORT FILE"},
    {"plot path is the data path spelt otherwise",
     [](const Scene& s) { s.NamesWith(7, s.Path("sub/../pile.kv4d")); },
     9,
     {"pile.kv4o"},
     "THE PLOT FILE IS THE PROJECT DATA FILE"},
    {"plot path is a link to the data file",
     [](const Scene& s) {
       fs::create_symlink(s.At("pile.kv4d"), s.At("link.kv4p"));
       s.NamesWith(7, s.Path("link.kv4p"));
     },
     9,
     {"link.kv4p"},
     "THE PLOT FILE IS THE PROJECT DATA FILE"},
    {"report path is a hard link of the data file",
     [](const Scene& s) {
       fs::create_hard_link(s.At("pile.kv4d"), s.At("hard.kv4o"));
       s.NamesWith(6, s.Path("hard.kv4o"));
     },
     9,
     {"hard.kv4o"},
     "THE REPORT FILE IS THE PROJECT DATA FILE"},
    {"report path is names.dat",
     [](const Scene& s) { s.NamesWith(6, s.Path("names.dat")); },
     9,
     {"names.dat"},
     "THE REPORT FILE IS THE RUN DESCRIPTION"},
    {"report is a FIFO",
     [](const Scene& s) {
       s.MakeFifo("pile.kv4o");
       s.NamesWith(5, s.Path("pile.kv4d"));
     },
     9,
     {"pile.kv4o", "pile.kv4p"},
     "THE REPORT FILE IS NOT A REGULAR FILE"},
    {"plot file is a FIFO",
     [](const Scene& s) {
       s.MakeFifo("pile.kv4p");
       s.NamesWith(5, s.Path("pile.kv4d"));
     },
     9,
     {"pile.kv4o", "pile.kv4p"},
     "THE PLOT FILE IS NOT A REGULAR FILE"},
    {"notes file is a FIFO",
     [](const Scene& s) {
       s.MakeFifo("pile.kv4r");
       s.NamesWith(5, s.Path("pile.kv4d"));
     },
     9,
     {"pile.kv4o", "pile.kv4r"},
     "THE RUN-NOTES FILE IS NOT A REGULAR FILE"},
    {"report is /dev/full",
     [](const Scene& s) { s.NamesWith(6, "/dev/full"); },
     9,
     {"pile.kv4p"},
     "THE REPORT FILE IS NOT A REGULAR FILE"},
    {"data file is /dev/zero",
     [](const Scene& s) { s.NamesWith(5, "/dev/zero"); },
     9,
     {"pile.kv4o"},
     "THE PROJECT DATA FILE IS NOT A REGULAR FILE"},
    {"plot file is a folder",
     [](const Scene& s) {
       fs::remove(s.At("pile.kv4p"));
       fs::create_directory(s.At("pile.kv4p"));
       s.NamesWith(5, s.Path("pile.kv4d"));
     },
     9,
     {"pile.kv4o", "pile.kv4p"},
     "THE PLOT FILE IS NOT A REGULAR FILE"},
    {"report is a socket",
     [](const Scene& s) {
       fs::remove(s.At("pile.kv4o"));
       MakeSocket(s.At("pile.kv4o"));
       s.NamesWith(5, s.Path("pile.kv4d"));
     },
     9,
     {"pile.kv4o"},
     "THE REPORT FILE IS NOT A REGULAR FILE"},
    {"names.dat is a FIFO",
     [](const Scene& s) { s.MakeFifo("names.dat"); },
     2,
     {"names.dat", "pile.kv4o"},
     "IS NOT A REGULAR FILE"},
    {"report path longer than 255, beside a file named by its first 255",
     [](const Scene& s) {
       fs::create_directory(s.At(kLongName));
       const std::string report = s.Path(kLongName + "/" + kLongName + ".kv4o");
       WriteText(report.substr(0, 255), "a file of its own\n");
       s.Keep(report.substr(s.folder.native().size() + 1, 255 - s.folder.native().size() - 1));
       s.NamesWith(6, report);
     },
     0,
     {},
     "PROCEEDING"},
    {"plot path longer than 4095",
     [](const Scene& s) { s.NamesWith(7, s.Path(std::string(4100, 'p'))); },
     2,
     {"pile.kv4p"},
     "LINE 7 OF THE RUN DESCRIPTION IS A PATH OF MORE THAN 4095 CHARACTERS"},
    {"report path holding a NUL",
     [](const Scene& s) { s.NamesWith(6, s.Path(std::string("pile\0x.kv4o", 11))); },
     2,
     {"pile.kv4o"},
     "LINE 6 OF THE RUN DESCRIPTION HOLDS A NUL"},
    {"data file over 64 MB",
     [](const Scene& s) {
       fs::resize_file(s.At("pile.kv4d"), (std::uintmax_t{64} << 20) + 1);
       s.NamesWith(5, s.Path("pile.kv4d"));
     },
     3,
     {},
     "THE PROJECT DATA FILE CANNOT BE READ"},
    {"notes file in a missing folder",
     [](const Scene& s) { s.NamesWith(8, s.Path("missing/pile.kv4r")); },
     9,
     {},
     "THE FILE CANNOT BE CREATED"},
};

TEST(RunFiles, HostileRunDescriptionsDestroyNothingAndNeverHang) {
  const std::string engine = std::string(KORVAN_BIN_DIR) + "/" + kEngineFileName;
  for (const Scenario& row : kScenarios) {
    SCOPED_TRACE(row.what);
    Scene scene{fs::temp_directory_path() / ("korvan_run_files_" + std::to_string(::getpid()))};
    fs::remove_all(scene.folder);
    fs::create_directories(scene.folder / "sub");
    fs::copy_file(fs::path(KORVAN_EXAMPLES_DIR) / "driven-pile-clay-sand.kv4d",
                  scene.At("pile.kv4d"));
    for (const char* earlier : {"pile.kv4o", "pile.kv4p", "pile.kv4r"}) {
      WriteText(scene.At(earlier), std::string("an earlier run's ") + earlier + "\n");
    }
    row.prepare(scene);
    std::vector<std::string> kept = scene.kept;
    kept.insert(kept.end(), row.unchanged.begin(), row.unchanged.end());
    std::vector<std::string> before;
    for (const std::string& name : kept) before.push_back(Snapshot(scene.At(name)));

    const testing::ChildOutcome run = testing::RunInChild(
        [&] {
          platform::TDynamicLibrary library(engine, true);
          using EntryPoint = std::int32_t (*)(std::int32_t, std::int32_t);
          return reinterpret_cast<EntryPoint>(library.FindProcedure("IKORVAN"))(4, 3);
        },
        testing::InFolder(scene.folder));
    EXPECT_TRUE(run.exited) << "the run did not end by itself";
    EXPECT_EQ(run.status, row.code) << run.output;
    EXPECT_NE(run.output.find(row.console), std::string::npos) << run.output;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      EXPECT_EQ(Snapshot(scene.At(kept[i])), before[i]) << kept[i];
    }
    fs::remove_all(scene.folder);
  }
}

}  // namespace
}  // namespace korvan
