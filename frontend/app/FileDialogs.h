// The Open and Save As dialogs of the data files.
#pragma once

#include <QString>
#include <utility>

class QWidget;

namespace korvan {

// The chosen existing file and the index of the chosen filter (1: ".kv4d",
// 2: ".kv3d", 3: ".kvd"); an empty name when cancelled.
std::pair<QString, int> OpenFileDialog(QWidget* parent);

// `name` with the extension ".kv4d" in place of its own.
QString WithKv4dExtension(const QString& name);

// The chosen file name, ending in ".kv4d"; empty when cancelled. Asks
// before replacing an existing file.
QString SaveFileDialog(QWidget* parent, const QString& title, const QString& preset);

}  // namespace korvan
