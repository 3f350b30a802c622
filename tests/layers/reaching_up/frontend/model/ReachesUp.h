// A model header that reaches up into the app layer: the layer check must
// refuse it.
#pragma once

#include "app/MainForm.h"
