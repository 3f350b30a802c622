// Who the report heading names: the organisation, city, region and id
// number the desktop program keeps in the user's settings (Options
// "Report Heading..."), read the same way without a window, so that
// korvan report names who the desktop program would.
#pragma once

#include "runner/engine_runner.h"

namespace korvan {

// The identification in the program's settings; the defaults of
// UserIdentification for what the settings do not hold.
UserIdentification ReadReportUser();

}  // namespace korvan
