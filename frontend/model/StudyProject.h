// The project a design study starts from: a data file of any generation read
// as the desktop program opens it, and the text the program saves of it. The
// study changes that text, never the project (study_variant.h).
#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <optional>

namespace korvan {

// The text the program saves of the project in `dataFile` (by its extension
// .kv4d, .kv3d or .kvd); nothing, with the reason in `message`, when the
// file cannot be read whole. The project model made for it is gone again on
// return: the program never holds two at a time.
std::optional<QByteArray> ProjectTextAsSaved(const std::filesystem::path& dataFile,
                                             QString& message);

}  // namespace korvan
