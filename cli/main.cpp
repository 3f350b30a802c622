// korvan: the headless runner of the analysis engine.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "engine_runner.h"
#ifdef KORVAN_CONVERT
#include "convert_command.h"
#endif
#ifdef KORVAN_PLOT
#include "plot_command.h"
#endif
#ifdef KORVAN_EXPORT
#include "export_command.h"
#endif
#include "plot_summary.h"

namespace {

constexpr const char* kUsage =
    "Usage: korvan run FILE.kv4d\n"
    "       korvan convert IN OUT.kv4d\n"
    "       korvan plot FILE.kv4d [--format png|svg|pdf] [--out DIR]\n"
    "                   [--width IN --height IN --dpi N]\n"
    "       korvan export FILE.kv4d [--out BOOK.xlsx] [--no-markers] [--plots 1,2,...]\n"
    "\n"
    "run: analyses the pile described by the project data file FILE.kv4d with the\n"
    "KORVAN2021_DLL.so engine that lies beside this program, exactly as the\n"
    "desktop program does: names.dat is written into the data file's folder,\n"
    "the engine writes FILE.kv4o (report), FILE.kv4p (plot data) and creates\n"
    "FILE.kv4r (run notes), and names.dat is deleted again.\n"
    "\n"
    "Prints the head load / head movement table and the paths of the files.\n"
    "The exit status is the engine's result code (0 when the run completed).\n"
    "\n"
    "The report heading names the user from the environment variables\n"
    "KORVAN_ORGANISATION, KORVAN_CITY, KORVAN_REGION and KORVAN_ID.\n"
    "\n"
    "convert: reads the project data file IN of any generation, chosen by its\n"
    "extension (.kv4d, .kv3d of KORVAN 2014, .kvd of KORVAN 2.0), the way the\n"
    "desktop program opens it, and writes it as OUT.kv4d the way the desktop\n"
    "program saves it: the current format, which the engine reads. An existing\n"
    "OUT.kv4d is replaced only once the new file is complete. When IN cannot be\n"
    "read whole, the reader's message goes to standard error, nothing is\n"
    "written and the exit status is 65.\n"
    "\n"
    "plot: draws every graph of an analysed project that has results into one\n"
    "picture file each (default png, 6 x 4 inches at 150 dots per inch), named\n"
    "after the project and the graph, in DIR or beside the project, with the\n"
    "graph settings saved by the desktop program. Needs no display.\n"
    "\n"
    "export: writes the graphs of an analysed project into a spreadsheet\n"
    "workbook (default FILE.xlsx beside the project), as the desktop program's\n"
    "Export to Excel does: an index sheet \"Legend\", then a data sheet and a\n"
    "chart sheet per graph. --plots chooses graphs by their place in the export\n"
    "list: 1 load distribution, 2 displacement distribution, 3 displacement/soil\n"
    "settlement (down-drag projects), 4 axial load vs settlement, 5 t-z curves,\n"
    "6 tip resistance curve; --no-markers draws the lines without markers.\n";

std::string FromEnvironment(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : fallback;
}

korvan::UserIdentification UserFromEnvironment() {
  korvan::UserIdentification user;
  user.organisation = FromEnvironment("KORVAN_ORGANISATION", user.organisation);
  user.city = FromEnvironment("KORVAN_CITY", user.city);
  user.region = FromEnvironment("KORVAN_REGION", user.region);
  user.idNumber = std::atoi(FromEnvironment("KORVAN_ID", "0").c_str());
  return user;
}

void PrintTable(const korvan::PlotSummary& summary) {
  const bool english = summary.unitSystem == 1;
  const char* force = english ? "lbs" : "kN";
  const char* length = english ? "in" : "m";
  std::printf("\nResults due to tip movements\n");
  std::printf("%16s %16s %16s %16s\n", "head load", "head movement", "tip movement", "tip load");
  std::printf("%16s %16s %16s %16s\n", force, length, length, force);
  for (const auto& row : summary.tipMovementRows) {
    std::printf("%16.4E %16.4E %16.4E %16.4E\n", row.headLoad, row.headMovement, row.tipMovement,
                row.tipLoad);
  }
  if (summary.appliedLoadRows.empty()) return;
  std::printf("\nResults due to applied loads\n");
  for (const auto& row : summary.appliedLoadRows) {
    if (row.converged) {
      std::printf("%16.4E %16.4E %16.4E %16.4E\n", row.values.headLoad, row.values.headMovement,
                  row.values.tipMovement, row.values.tipLoad);
    } else {
      std::printf("%16.4E   not able to get convergence\n", row.values.headLoad);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "convert" && argc == 4) {
#ifdef KORVAN_CONVERT
    return korvan::ConvertDataFile(argv[2], argv[3]);
#else
    std::cerr << "korvan: this build has no front end, so it cannot convert data files\n";
    return 69;
#endif
  }
  if (command == "plot" && argc >= 3) {
#ifdef KORVAN_PLOT
    return korvan::PlotCommand(argc - 2, argv + 2);
#else
    std::cerr << "korvan: this build has no front end, so it cannot draw graphs\n";
    return 69;
#endif
  }
  if (command == "export" && argc >= 3) {
#ifdef KORVAN_EXPORT
    return korvan::ExportCommand(argc - 2, argv + 2);
#else
    std::cerr << "korvan: this build has no front end, so it cannot export graphs\n";
    return 69;
#endif
  }
  if (command != "run" || argc != 3) {
    std::cerr << kUsage;
    return 64;
  }
  const std::filesystem::path dataPath = std::filesystem::absolute(argv[2]);
  if (!std::filesystem::is_regular_file(dataPath)) {
    std::cerr << "korvan: no project data file " << dataPath << "\n";
    return 66;
  }
  const korvan::EngineRun run =
      korvan::RunEngine(dataPath, korvan::ProgramFolder(), UserFromEnvironment());
  std::fflush(stdout);
  if (!run.called) {
    std::cerr << "korvan: the engine was not run: " << run.failure << "\n";
    return 70;
  }
  auto withExtension = [&](const char* extension) {
    return std::filesystem::path(dataPath).replace_extension(extension);
  };
  if (run.result == 0) {
    if (auto summary = korvan::ReadPlotSummary(withExtension(".kv4p"))) {
      PrintTable(*summary);
    } else {
      std::printf("\nThe plot data file holds no complete results.\n");
    }
  } else {
    std::printf("\nThe engine stopped the run with result code %d; see the report.\n", run.result);
  }
  std::printf("\nReport:    %s\nPlot data: %s\nRun notes: %s\n", withExtension(".kv4o").c_str(),
              withExtension(".kv4p").c_str(), withExtension(".kv4r").c_str());
  return run.result;
}
