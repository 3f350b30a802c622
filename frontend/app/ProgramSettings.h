// The program's own settings, kept in the user's settings store by the main
// window and not part of any project.
#pragma once

#include <QString>

namespace korvan {

struct TProgramSettings {
  // The program that opens text files (reports, run notes, data files);
  // empty for the desktop's default program for text.
  QString WordProcessor;
};

extern TProgramSettings ProgramSettings;

}  // namespace korvan
