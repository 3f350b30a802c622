// Window places that fit the screen: a window opens, or is put back where
// the user left it, only within the part of its screen that windows may
// take, whatever the screen's size and scale factor.
#pragma once

#include <QRect>

class QWidget;

namespace korvan::platform {

// `window` shrunk to fit `available` and moved into it.
QRect FitWithin(const QRect& window, const QRect& available);

// Moves and shrinks a top-level window, frame included, into the available
// area of its screen (the primary screen when it is on none); a maximised
// or full-screen window is left as it is.
void KeepOnScreen(QWidget& window);

}  // namespace korvan::platform
