// korvan plot: the result graphs of an analysed project drawn into picture
// files, without a display, for figures in reports.
#pragma once

namespace korvan {

// `arguments` are those after "plot": PROJECT.kv4d [--format png|svg|pdf]
// [--out DIR] [--width IN --height IN --dpi N]. Messages go to standard
// error; the result is the exit status.
int PlotCommand(int argc, char** argv);

}  // namespace korvan
