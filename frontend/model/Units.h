// Units of measure: the unit systems, the unit codes such as "F/L^2" that
// label every dimensional number of the front end, their display texts and
// the factors that convert a number when its owner switches systems.
#pragma once

#include <QString>
#include <array>
#include <vector>

namespace korvan {

// Unit systems. Generic shows the dimension letters and is never a project's
// system; every conversion into or out of it is the identity.
enum TUnitSystem : int { usEnglish = 1, usSI = 2, usGeneric = 3 };

// One unit slot: its display name per system and the number of English units
// in one SI unit.
struct TUnitSlot {
  QString EnglishName;
  QString SIName;
  QString GenericName;
  long double Factor;

  const QString& Name(int system) const;
};

// A table of unit slots with its selector rules. The program uses two: the
// ten-slot table of dialogs, grid tables and graphs, and the six-slot copy of
// the chart-family tables.
class TUnitsTable {
 public:
  // Slot of the force term "F<digit>" and of the length term "L<digit>".
  using TSelector = int (*)(char digit);
  struct TSlotCode {
    const char* Code;
    int Slot;
  };

  TUnitsTable(std::vector<TUnitSlot> unitSlots, TSelector forceSlot, TSelector lengthSlot,
              std::vector<TSlotCode> textOrder);

  // Factor of a code: numerator over denominator, each side the force slot's
  // factor to its exponent times the length slot's factor to its exponent.
  long double UnitsFactor(const QString& code) const;
  // Multiplier that converts a number of this code from one system to another.
  long double ConvertFactor(int fromSystem, int toSystem, const QString& code) const;
  // The code with every slot code replaced by the slot's name in `system`.
  QString UnitsText(const QString& code, int system) const;

  const TUnitSlot& Slot(int index) const { return fSlots.at(static_cast<size_t>(index)); }
  int SlotCount() const { return static_cast<int>(fSlots.size()); }

 private:
  long double SideFactor(QString side) const;

  std::vector<TUnitSlot> fSlots;
  TSelector fForceSlot;
  TSelector fLengthSlot;
  std::vector<TSlotCode> fTextOrder;
};

// The ten-slot table used everywhere except by the chart-family tables.
const TUnitsTable& StandardUnits();
// The six-slot copy used by the chart-family tables.
const TUnitsTable& ChartUnits();

// Shorthands on the ten-slot table.
long double UnitsFactor(const QString& code);
long double ConvertFactor(int fromSystem, int toSystem, const QString& code);
QString UnitsText(const QString& code, int system);

// Short forms: in system 3 the code as written; otherwise only the first force
// code kind and the first length code kind found (in the caller's order) are
// replaced, every occurrence of each.
QString EditUnitsText(const QString& code, int system);   // numeric edit fields
QString GraphUnitsText(const QString& code, int system);  // graph captions

}  // namespace korvan
