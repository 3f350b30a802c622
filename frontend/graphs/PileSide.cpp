#include "PileSide.h"

namespace korvan {

TDlgSideView::TDlgSideView(TProfileSource source, QWidget* parent)
    : platform::TChildWindow(parent), fSource(std::move(source)) {
  setWindowTitle(QStringLiteral("Elevation View"));
  resize(632, 422);
}

TDlgSideView::~TDlgSideView() = default;

}  // namespace korvan
