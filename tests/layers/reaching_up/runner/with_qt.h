// A runner header that uses Qt and a widget layer: the layer check must
// refuse both.
#pragma once

#include <QString>

#include "components/DataEdit.h"
