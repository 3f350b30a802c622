// Opening text files (the data file, the report, the run notes, files of
// numbers for the table editors) in the user's text editor, the program the
// user chose in the options ("Word Processor"), or in the program's own
// read-only text window when none is chosen or it cannot be started.
#pragma once

#include <QString>

namespace korvan::platform {

// The editor program; empty means the desktop's default program.
void SetTextEditorCommand(const QString& command);
QString TextEditorCommand();

// Starts the editor on `path` and returns without waiting. The command is
// the program and the path its one argument; no shell sees either, so a
// path with quotes, blanks or ";" names that file and nothing else. Without
// an editor the file is shown in a text window; when the editor cannot be
// started too, below "An error occurred in running the Word Processor" and
// the editor's name. False when the file was shown nowhere (a message has
// said why).
bool OpenInTextEditor(const QString& path);

}  // namespace korvan::platform
