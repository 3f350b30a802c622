#include "app/ProgramSettings.h"

namespace korvan {

TProgramSettings ProgramSettings;

}  // namespace korvan
