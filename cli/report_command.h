// korvan report: the calculation report of an analysed project written as
// one PDF file, without a display, as the desktop program's "Export Report
// (PDF)..." writes it.
#pragma once

namespace korvan {

// `argv` holds the arguments after "report": PROJECT.kv4d [--out FILE.pdf]
// [--paper a4|letter]. Messages go to standard error; the result is the
// exit status.
int ReportCommand(int argc, char** argv);

}  // namespace korvan
