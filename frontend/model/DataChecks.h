// The check across tables before a run: user-specified tip movements must
// lie within the movement range of every user-entered curve, since the
// engine cannot extrapolate a user curve beyond its last point.
#pragma once

#include <QString>

namespace korvan {

class TProgramData;

// The message of the first tip movement beyond the last point of the user
// Q-w curve or of a user t-z curve; empty when the run may go on. A t-z
// curve without points has no last point and is left to the engine, which
// refuses such a curve when it reads the data file.
QString TipMovementRangeMessage(const TProgramData& project);

}  // namespace korvan
