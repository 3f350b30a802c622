// Installs the editor windows of both table families: from then on a table's
// Show and ShowModal open a TTableForm (plain tables) or a TTableChartForm
// (chart tables). The main window calls it once at start-up.
#pragma once

namespace korvan {

void InstallTableEditors();

}  // namespace korvan
