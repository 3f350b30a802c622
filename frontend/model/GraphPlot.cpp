#include "model/GraphPlot.h"

#include <algorithm>

#include "model/NumberFormat.h"
#include "model/Units.h"

namespace korvan {

namespace {

// Digits of the default float-to-text form.
constexpr int kDefaultFloatDigits = 15;

}  // namespace

TLine::TLine(TGraphPlot* owner, int index)
    : fValue(static_cast<long double>(index) + 1), fOwner(owner), fIndex(index) {}

void TLine::SetCount(int count) {
  fData.resize(static_cast<size_t>(std::max(count, 0)));
}

QString TLine::LineName() const {
  if (!fValueS.isEmpty()) return fValueS;
  if (fOwner != nullptr && fIndex < fOwner->DefLineNames.size())
    return fOwner->DefLineNames.at(fIndex);
  const QString prefix = fOwner != nullptr ? fOwner->CurveName() : QString();
  return prefix + FormatGeneral(fValue, kDefaultFloatDigits);
}

void TLineCollection::SetLineCount(int count) {
  count = std::max(count, 0);
  const int points = Count();
  while (LineCount() > count) fLines.pop_back();
  while (LineCount() < count) {
    auto line = std::make_unique<TLine>(fOwner, LineCount());
    line->SetCount(points);
    fLines.push_back(std::move(line));
  }
}

void TLineCollection::SetCount(int count) {
  for (auto& line : fLines) line->SetCount(count);
}

QString ExpandUnitCodes(const QString& codes, int units) {
  return GraphUnitsText(codes, units);
}

QColor LineColor(int k) {
  static const std::array<QRgb, kLineColorCount> colors = {
      0x000000, 0x0000FF, 0xFF0000, 0x008000, 0x800080, 0x800000, 0x000080, 0xFF00FF, 0x808000,
      0x008080, 0x808080, 0x00FF00, 0x808080, 0xC0C0C0, 0xC0C0C0, 0xFFFF00, 0x00FFFF};
  return QColor(
      colors[static_cast<size_t>(((k % kLineColorCount) + kLineColorCount) % kLineColorCount)]);
}

TGraphPlot::TGraphPlot(QObject* owner) : QObject(owner) {}

TGraphPlot::~TGraphPlot() {
  emit destroying();
}

void TGraphPlot::SetAnyChange(bool changed) {
  if (changed == fAnyChange) return;
  fAnyChange = changed;
  emit anyChangeChanged(changed);
}

void TGraphPlot::SetUnits(int system) {
  fUnits = std::clamp(system, 1, 3);
}

QString TGraphPlot::LegendCaption(int line) const {
  QString name = GetLines(line).LineName();
  if (OnGetCaption) OnGetCaption(line, name);
  return name;
}

}  // namespace korvan
