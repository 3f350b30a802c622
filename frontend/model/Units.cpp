#include "model/Units.h"

#include <utility>

namespace korvan {

namespace {

bool IsDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

long double IntegerPower(long double base, int exponent) {
  long double result = 1.0L;
  for (int i = 0; i < exponent; ++i) result *= base;
  return result;
}

// A text being rewritten: pieces of the original code and inserted names.
// Inserted names are never searched again.
class TRewrite {
 public:
  explicit TRewrite(const QString& text) { fPieces.push_back({text, false}); }

  bool Contains(const QString& code) const {
    for (const auto& piece : fPieces) {
      if (!piece.second && piece.first.contains(code)) return true;
    }
    return false;
  }

  void ReplaceAll(const QString& code, const QString& name) {
    std::vector<std::pair<QString, bool>> result;
    for (auto& piece : fPieces) {
      if (piece.second) {
        result.push_back(std::move(piece));
        continue;
      }
      qsizetype from = 0;
      for (qsizetype at = piece.first.indexOf(code); at >= 0;
           at = piece.first.indexOf(code, from)) {
        result.push_back({piece.first.mid(from, at - from), false});
        result.push_back({name, true});
        from = at + code.size();
      }
      result.push_back({piece.first.mid(from), false});
    }
    fPieces = std::move(result);
  }

  QString Text() const {
    QString text;
    for (const auto& piece : fPieces) text += piece.first;
    return text;
  }

 private:
  std::vector<std::pair<QString, bool>> fPieces;
};

// Replaces every occurrence of the first code of `kinds` that occurs.
void ReplaceFirstKind(TRewrite& rewrite, const std::vector<TUnitsTable::TSlotCode>& kinds,
                      const TUnitsTable& table, int system) {
  for (const auto& kind : kinds) {
    const QString code = QLatin1String(kind.Code);
    if (rewrite.Contains(code)) {
      rewrite.ReplaceAll(code, table.Slot(kind.Slot).Name(system));
      return;
    }
  }
}

QString ShortUnitsText(const QString& code, int system,
                       const std::vector<TUnitsTable::TSlotCode>& forceKinds,
                       const std::vector<TUnitsTable::TSlotCode>& lengthKinds) {
  if (system != usEnglish && system != usSI) return code;
  TRewrite rewrite(code);
  ReplaceFirstKind(rewrite, forceKinds, StandardUnits(), system);
  ReplaceFirstKind(rewrite, lengthKinds, StandardUnits(), system);
  return rewrite.Text();
}

// The common six unit slots of both tables.
std::vector<TUnitSlot> BaseSlots() {
  return {
      {"lbs", "kN", "F", 224.8089237L},   {"kips", "kN", "F", 0.2248089237L},
      {"tons", "kN", "F", 0.1124044745L}, {"in", "m", "L", 39.37007874L},
      {"in", "mm", "L", 0.03937007874L},  {"ft", "m", "L", 3.280839895L},
  };
}

}  // namespace

const QString& TUnitSlot::Name(int system) const {
  switch (system) {
    case usEnglish:
      return EnglishName;
    case usSI:
      return SIName;
    default:
      return GenericName;
  }
}

TUnitsTable::TUnitsTable(std::vector<TUnitSlot> unitSlots, TSelector forceSlot,
                         TSelector lengthSlot, std::vector<TSlotCode> textOrder)
    : fSlots(std::move(unitSlots)),
      fForceSlot(forceSlot),
      fLengthSlot(lengthSlot),
      fTextOrder(std::move(textOrder)) {}

long double TUnitsTable::SideFactor(QString side) const {
  long double factor = 1.0L;
  if (side.startsWith(QLatin1Char('F'))) {
    if (side.size() < 2 || !IsDigit(side[1])) side.insert(1, QLatin1Char('0'));
    const long double slotFactor = Slot(fForceSlot(side[1].toLatin1())).Factor;
    int exponent = 1;
    qsizetype consumed = 3;  // F, selector, separator
    if (side.size() > 2 && side[2] == QLatin1Char('^')) {
      if (side.size() > 3 && IsDigit(side[3])) exponent = side[3].digitValue();
      consumed = 5;  // F, selector, ^, exponent, separator
    }
    factor *= IntegerPower(slotFactor, exponent);
    side.remove(0, consumed);
  }
  if (side.startsWith(QLatin1Char('L'))) {
    if (side.size() < 2 || !IsDigit(side[1])) side.insert(1, QLatin1Char('0'));
    const long double slotFactor = Slot(fLengthSlot(side[1].toLatin1())).Factor;
    // A lone "^" without its digit (or any other third character) keeps the
    // exponent at 1.
    int exponent = 1;
    if (side.size() > 3 && side[2] == QLatin1Char('^') && IsDigit(side[3])) {
      exponent = side[3].digitValue();
    }
    factor *= IntegerPower(slotFactor, exponent);
  }
  return factor;
}

long double TUnitsTable::UnitsFactor(const QString& code) const {
  const qsizetype slash = code.indexOf(QLatin1Char('/'));
  if (slash < 0) return SideFactor(code);
  return SideFactor(code.left(slash)) / SideFactor(code.mid(slash + 1));
}

long double TUnitsTable::ConvertFactor(int fromSystem, int toSystem, const QString& code) const {
  if (fromSystem == usEnglish && toSystem == usSI) return 1.0L / UnitsFactor(code);
  if (fromSystem == usSI && toSystem == usEnglish) return UnitsFactor(code);
  return 1.0L;
}

QString TUnitsTable::UnitsText(const QString& code, int system) const {
  TRewrite rewrite(code);
  for (const auto& slotCode : fTextOrder) {
    rewrite.ReplaceAll(QLatin1String(slotCode.Code), Slot(slotCode.Slot).Name(system));
  }
  return rewrite.Text();
}

const TUnitsTable& StandardUnits() {
  static const TUnitsTable table = [] {
    std::vector<TUnitSlot> unitSlots = BaseSlots();
    unitSlots.push_back({"lb-sec2/in", "Mg", "M", 5.7101483L});
    unitSlots.push_back({"sec", "sec", "T", 1.0L});
    unitSlots.push_back({"rad", "rad", "L", 1.0L});
    unitSlots.push_back({"slug", "Mg", "F", 68.364249L});
    auto forceSlot = [](char digit) {
      switch (digit) {
        case '0':
          return 0;
        case '1':
          return 1;
        case '4':
          return 6;
        case '5':
          return 7;
        case '6':
          return 9;
        default:
          return 2;
      }
    };
    auto lengthSlot = [](char digit) {
      switch (digit) {
        case '0':
          return 3;
        case '1':
          return 4;
        case '3':
          return 8;
        default:
          return 5;
      }
    };
    return TUnitsTable(std::move(unitSlots), forceSlot, lengthSlot,
                       {{"F2", 2},
                        {"F1", 1},
                        {"F4", 6},
                        {"F5", 7},
                        {"F6", 9},
                        {"F", 0},
                        {"L3", 8},
                        {"L2", 5},
                        {"L1", 4},
                        {"L", 3}});
  }();
  return table;
}

const TUnitsTable& ChartUnits() {
  static const TUnitsTable table(
      BaseSlots(), [](char digit) { return digit == '0'   ? 0
                                           : digit == '1' ? 1
                                                          : 2; },
      [](char digit) { return digit == '0'   ? 3
                              : digit == '1' ? 4
                                             : 5; },
      {{"F2", 2}, {"F1", 1}, {"F", 0}, {"L2", 5}, {"L1", 4}, {"L", 3}});
  return table;
}

long double UnitsFactor(const QString& code) {
  return StandardUnits().UnitsFactor(code);
}

long double ConvertFactor(int fromSystem, int toSystem, const QString& code) {
  return StandardUnits().ConvertFactor(fromSystem, toSystem, code);
}

QString UnitsText(const QString& code, int system) {
  return StandardUnits().UnitsText(code, system);
}

QString EditUnitsText(const QString& code, int system) {
  return ShortUnitsText(code, system,
                        {{"F6", 9}, {"F5", 7}, {"F4", 6}, {"F2", 2}, {"F1", 1}, {"F", 0}},
                        {{"L2", 5}, {"L1", 4}, {"L3", 8}, {"L", 3}});
}

QString GraphUnitsText(const QString& code, int system) {
  return ShortUnitsText(code, system, {{"F2", 2}, {"F1", 1}, {"F", 0}},
                        {{"L2", 5}, {"L1", 4}, {"L", 3}});
}

}  // namespace korvan
