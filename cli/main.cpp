// korvan: the headless runner of the analysis engine, and the commands that
// turn a project or its results into files. Each command lives in its own
// <name>_command file; this one holds the usage text and picks the command.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>

#ifdef KORVAN_CONVERT
#include "cli/convert_command.h"
#endif
#ifdef KORVAN_PLOT
#include "cli/plot_command.h"
#endif
#ifdef KORVAN_EXPORT
#include "cli/export_command.h"
#endif
#ifdef KORVAN_REPORT
#include "cli/report_command.h"
#endif
#ifdef KORVAN_STUDY
#include "cli/study_command.h"
#endif
#include "cli/run_command.h"
#include "platform/interrupt_cleanup.h"
#include "runner/result_meanings.h"

namespace {

// The usage text up to the exit statuses of run that the engine gives.
constexpr const char* kUsageHead =
    "Usage: korvan run FILE.kv4d\n"
    "       korvan convert IN OUT.kv4d\n"
    "       korvan plot FILE.kv4d [--format png|svg|pdf] [--out DIR]\n"
    "                   [--width IN --height IN --dpi N]\n"
    "       korvan export FILE.kv4d [--out BOOK.xlsx] [--no-markers] [--plots 1,2,...]\n"
    "       korvan report FILE.kv4d [--out FILE.pdf] [--paper a4|letter]\n"
    "       korvan study FILE.kv4d --vary length=FROM:TO:STEP|diameter=FROM:TO:STEP\n"
    "                   [--design-load Q] [--settlement-limit S] [--out DIR]\n"
    "                   [-j JOBS] [--scale-ae] [--format png|svg|pdf]\n"
    "\n"
    "run: analyses the pile described by the project data file FILE.kv4d with the\n"
    "KORVAN2021_DLL.so engine that lies beside this program, exactly as the\n"
    "desktop program does: names.dat is written into the data file's folder,\n"
    "the engine writes FILE.kv4o (report), FILE.kv4p (plot data) and creates\n"
    "FILE.kv4r (run notes), and names.dat is deleted again.\n"
    "\n"
    "Prints the head load / head movement table and the paths of the files.\n"
    "Runs in one folder take turns: each holds a lock on the folder from writing\n"
    "names.dat until deleting it, waiting up to 60 seconds for another run.\n"
    "\n"
    "The report heading names the user from the environment variables\n"
    "KORVAN_ORGANISATION, KORVAN_CITY, KORVAN_REGION and KORVAN_ID (a whole number\n"
    "from -2147483648 to 2147483647); line breaks in the texts become blanks.\n"
    "\n"
    "Exit status of run:\n"
    "   0      the run completed\n";

// The usage text after those statuses.
constexpr const char* kUsageTail =
    "  64      wrong arguments or an empty path\n"
    "  65      refused: a data file named names.dat or with a .kv4o, .kv4p or .kv4r\n"
    "          extension, a data file of an earlier generation (.kv3d, .kvd: convert\n"
    "          it first), a path with a line break or ending in a blank, or a\n"
    "          KORVAN_ID that is no 32-bit whole number\n"
    "  66      no project data file: missing, not a regular file, a path over 4095\n"
    "          characters, or a relative path from a folder that no longer exists\n"
    "  70      the engine library could not be loaded, or the engine reported\n"
    "          success but its plot data file holds no complete results\n"
    "  71      the data file's folder cannot be opened, locked or entered, or\n"
    "          another system error\n"
    "  73      names.dat could not be written, or the folder holds a names.dat\n"
    "          that no run left there (a file of your own, which is kept); the\n"
    "          engine was not run\n"
    "  74      standard output could not be written (a full disk, a closed pipe);\n"
    "          a run that failed otherwise keeps its own status\n"
    "  75      another run kept the folder busy for 60 seconds\n"
    "  130     SIGINT ended the run, 143 SIGTERM: names.dat and the run's temporary\n"
    "          files are removed and the folder is free again\n"
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
    "6 tip resistance curve; --no-markers draws the lines without markers.\n"
    "\n"
    "report: writes the calculation report of an analysed project as one PDF file\n"
    "(default FILE.pdf beside the project), as the desktop program's Export Report\n"
    "does: the inputs, the pile and soil side view, the results with the run's\n"
    "warnings and every graph with its saved settings, on numbered pages headed\n"
    "with the organisation of the program's settings (Options, Report Heading) and\n"
    "the date of the analysis (as the engine wrote it into FILE.kv4o, else the time\n"
    "of FILE.kv4p). --paper chooses A4 or Letter (default: Letter where the locale\n"
    "measures in US units, else A4). When the data file is newer than its results,\n"
    "the first page says so.\n"
    "\n"
    "plot, export, report and study take their options before or after the\n"
    "project; a word that begins with \"-\" is an option (name a project that\n"
    "begins so as ./-NAME.kv4d).\n"
    "\n"
    "File names are taken as the bytes given. Every file convert, plot, export,\n"
    "report and study write goes first to a temporary file .korvan.PID.TAG.part\n"
    "beside it, which replaces the file only when complete; SIGINT or SIGTERM\n"
    "removes it, and one left by a killed command is removed by the next command\n"
    "that writes into that folder. No output replaces the project's own files\n"
    "(data, report, plot data, run notes, graph settings, names.dat), a file that\n"
    "is not a regular file, or one you may not write; pictures, workbooks and PDF\n"
    "reports never take the extension of a project's files. Inputs are read only\n"
    "when they are regular files.\n"
    "\n"
    "Exit status of convert, plot, export and report:\n"
    "   0      every file was written\n"
    "  64      wrong arguments, or a picture size out of range (plot)\n"
    "  65      the input cannot be read whole, or the project has no complete\n"
    "          results (plot, export, report: the project was never analysed)\n"
    "  66      no project data file: missing or not a regular file\n"
    "  73      an output could not be written or was refused; the file it would\n"
    "          have replaced is as it was\n"
    "  74      standard output could not be written\n"
    "  130     SIGINT, 143 SIGTERM: the temporary file was removed\n"
    "\n"
    "study: a design study. Each value FROM, FROM+STEP, ... up to TO of the total\n"
    "pile length or of the outer diameter makes a variant of the project. Values\n"
    "are in the project's units: inches (English) or metres (SI), each above 0\n"
    "and at most 1000000, rounded to the 8 significant digits of a data file;\n"
    "at most 200 variants. The project is read as the desktop program opens it\n"
    "(also .kv3d and .kvd; a file with both tip movements and head loads is a\n"
    "project of head loads). A variant is the project with that value and\n"
    "  length    the pile head where it is and the tip moved; stiffness (AE) rows\n"
    "            below the new tip dropped, and a row at the new tip with the AE\n"
    "            the engine reads there (below the table: its last row's);\n"
    "  diameter  the tip area scaled with the square of the diameters' ratio; the\n"
    "            AE rows as they are, or with --scale-ae scaled by that square\n"
    "            too (a solid section);\n"
    "and everything else as it is: layers, curves (your own Q-w curve gives the\n"
    "tip load itself), increments, tip movements, settlement, factors.\n"
    "--design-load Q (pounds or kilonewtons, above 0) joins each variant's head\n"
    "loads after the project's own; without head loads of its own the variant\n"
    "has Q alone, and tip movements of its own stay beside it in the file. The\n"
    "engine's head-load search gives the head settlement under Q.\n"
    "--settlement-limit S (inches or metres, above 0) gives the head load where\n"
    "the load-settlement curve reaches S, linear between its points.\n"
    "Each variant's data file FILE-length-VALUE.kv4d (or -diameter-) is written\n"
    "into DIR (default FILE-length-study or FILE-diameter-study beside the\n"
    "project) and analysed as korvan run does, in a temporary folder of its own,\n"
    "JOBS (1 to 64) runs at a time, by default one per core; run a variant file\n"
    "yourself for its report. DIR/study.csv holds a row per variant: the value,\n"
    "the result code, the largest head load of the tip-movement curve, the\n"
    "settlement under Q, the load at S, and a note saying why a value is empty\n"
    "(for a stopped run, the engine's reason). Then the pictures\n"
    "FILE-length-curves.png (a load-settlement curve per completed variant) and,\n"
    "for Q and S, the design chart FILE-length-design-settlement.png and\n"
    "FILE-length-design-load.png (--format as for plot). Prints the paths of\n"
    "study.csv and the pictures; names each stopped variant, and a picture with\n"
    "nothing to draw, on standard error. Files of those names are replaced,\n"
    "through a temporary file like every output; the project's own files never.\n"
    "\n"
    "Exit status of study:\n"
    "   0      every variant completed\n"
    "   1      one or more variants stopped (engine code 2-9, or a status of\n"
    "          korvan run): their rows keep the code and the reason\n"
    "  64      wrong arguments: a range that is empty, not three numbers, not\n"
    "          above 0, reversed, with a step of 0 or finer than a data file\n"
    "          holds, or of more than 200 variants; Q, S or JOBS out of range\n"
    "  65      the project cannot be read whole, or its variants cannot be made\n"
    "          (outer diameter 0, already 50 head loads, a full stiffness table)\n"
    "  66      no project data file: missing or not a regular file\n"
    "  71      a run could not be started, or another system error\n"
    "  73      DIR or an output could not be made or was refused; files already\n"
    "          written stay\n"
    "  74      standard output could not be written\n"
    "  130     SIGINT, 143 SIGTERM: the runs under way are ended, the temporary\n"
    "          folder and the file under way removed; files already written stay\n";

// The run's statuses 1 to 9, each with what it means: the engine's result
// codes, as the desktop program names them too.
std::string ResultCodeLines() {
  constexpr std::size_t kWidth = 78;
  const std::string indent(10, ' ');
  std::string lines;
  for (const korvan::ResultCodeRange& range : korvan::StoppedRunCodes()) {
    std::string codes = std::to_string(range.first);
    if (range.last != range.first) codes += "-" + std::to_string(range.last);
    std::string line = "   " + codes + std::string(7 - codes.size(), ' ');
    // The help's lines end without a full stop.
    std::string meaning = range.meaning;
    if (meaning.ends_with('.')) meaning.pop_back();
    std::istringstream words(meaning);
    bool first = true;
    for (std::string word; words >> word; first = false) {
      if (!first && line.size() + 1 + word.size() > kWidth) {
        lines += line + "\n";
        line = indent + word;
      } else {
        line += (first ? "" : " ") + word;
      }
    }
    lines += line + "\n";
  }
  return lines;
}

std::string Usage() {
  return std::string(kUsageHead) + ResultCodeLines() + kUsageTail;
}

// A command succeeds only when standard output took every line: results
// lost on a full disk or a closed pipe are a failure. An earlier failure's
// status is kept.
int WithOutputChecked(int status) {
  std::cout.flush();
  const bool flushed = std::fflush(stdout) == 0;
  const int reason = errno;
  if (flushed && !std::ferror(stdout) && std::cout.good()) return status;
  std::cerr << "korvan: standard output could not be written"
            << (flushed ? std::string() : std::string(": ") + std::strerror(reason)) << "\n";
  return status == 0 ? korvan::kOutputError : status;
}

int Command(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << Usage();
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
  if (command == "report" && argc >= 3) {
#ifdef KORVAN_REPORT
    return korvan::ReportCommand(argc - 2, argv + 2);
#else
    std::cerr << "korvan: this build has no front end, so it cannot write reports\n";
    return 69;
#endif
  }
  if (command == "study" && argc >= 3) {
#ifdef KORVAN_STUDY
    return korvan::StudyCommand(argc - 2, argv + 2);
#else
    std::cerr << "korvan: this build has no front end, so it cannot make design studies\n";
    return 69;
#endif
  }
  if (command != "run" || argc != 3) {
    std::cerr << Usage();
    return korvan::kUsageError;
  }
  try {
    return korvan::RunCommand(argv[2]);
  } catch (const std::exception& error) {
    std::cerr << "korvan: " << error.what() << "\n";
    return korvan::kSystemError;
  }
}

}  // namespace

int main(int argc, char** argv) {
  // SIGINT and SIGTERM end every command with 130 and 143, removing the
  // files it has under way.
  korvan::platform::TInterruptCleanup::Install();
  return WithOutputChecked(Command(argc, argv));
}
