// What the engine's result code tells the user.
#pragma once

#include <QString>
#include <cstdint>

namespace korvan {

// The message for a run that ended with a non-zero result code: what went
// wrong, and that the report says more.
QString EngineResultMessage(std::int32_t code);

}  // namespace korvan
