// korvan export: the result graphs of an analysed project written into a
// spreadsheet workbook, without a display, the way the desktop program's
// "Export to Excel" writes them.
#pragma once

namespace korvan {

// `argv` holds the arguments after "export": PROJECT.kv4d [--out FILE.xlsx]
// [--no-markers] [--plots 1,2,...]. Messages go to standard error; the
// result is the exit status.
int ExportCommand(int argc, char** argv);

}  // namespace korvan
