// Reading a project data file of any of the three generations into a new
// project. Reading goes word by word, so line breaks matter only where a
// rule counts the words of the current line. Any reading error stops at the
// word that caused it; what was read before stays.
#include <vector>

#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "model/WordReader.h"

namespace korvan {

namespace {

constexpr int kSoilTypes = 6;

// A row count for `table`, refused as read when it is negative or beyond
// what the table can hold, before any memory is taken for it.
int ReadCount(TWordReader& reader, const TGridTable& table) {
  const int count = reader.ReadInteger();
  if (count < 0) {
    reader.RaiseAtWord(QStringLiteral("The count %1 is not a number of rows: \"%2\" takes 0 to %3.")
                           .arg(count)
                           .arg(table.Caption())
                           .arg(table.MaxRows()));
  }
  if (table.MaxRows() > 0 && count > table.MaxRows()) {
    reader.RaiseAtWord(QStringLiteral("The count %1 is more than the %2 rows that \"%3\" can hold.")
                           .arg(count)
                           .arg(table.MaxRows())
                           .arg(table.Caption()));
  }
  return count;
}

// Sets `table` to `count` rows and reads them in order. When reading stops
// inside the block, the table keeps the rows that were read completely.
template <class TReadRow>
void ReadRows(TGridTable& table, int count, TReadRow readRow) {
  table.SetRowCount(count);
  int row = 0;
  try {
    for (; row < count; ++row) readRow(row);
  } catch (...) {
    table.SetRowCount(row);
    throw;
  }
}

void ReadFloatCell(TWordReader& reader, TGridTable& table, int column, int row) {
  table.SetFloatValue(column, row, reader.ReadFloat());
}

int ReadSoilType(TWordReader& reader) {
  const int soilType = reader.ReadInteger();
  if (soilType < 1 || soilType > kSoilTypes) {
    reader.RaiseAtWord(QStringLiteral("A soil type from 1 to 6 was expected but not found."));
  }
  return soilType;
}

TGridTable& SubTable(const TGridTable& table, int column, int row) {
  TGridTable* subTable = table.GetDataValue(column, row);
  if (!subTable) {
    throw EInOutError(
        QStringLiteral("Row %1 of \"%2\" holds no data table.").arg(row + 1).arg(table.Caption()));
  }
  return *subTable;
}

// The words of a property row, in the order each soil type reads them: a
// column number reads the next word into that column.
enum TPropertyStep : int {
  kSkip = -1,        // the word is dropped
  kSkipIfNine = -2,  // the word is dropped only from a nine-word line
};

// The current format writes nine words (older writers eight, without the
// fifth); each soil type takes the words its analysis uses.
const std::vector<int>& PropertyOrder(int soilType) {
  static const std::vector<int> clay{0, 1, kSkip, 2, kSkipIfNine, kSkip, kSkip, 7, 8};
  static const std::vector<int> sand{0, kSkip, 3, kSkipIfNine, 4, kSkip, kSkip, 7, 8};
  static const std::vector<int> clayApi{0, 1, kSkip, 2, kSkipIfNine, 5, 6, 7, 8};
  static const std::vector<int> sandApi{0, kSkip, 3, kSkipIfNine, 4, 5, 6, 7, 8};
  switch (soilType) {
    case 1:
    case 3:
      return clay;
    case 2:
    case 4:
      return sand;
    case 5:
      return clayApi;
    default:
      return sandApi;
  }
}

// The older formats: six words.
const std::vector<int>& OlderPropertyOrder(int soilType) {
  static const std::vector<int> clay{0, 1, kSkip, 2, 7, 8};
  static const std::vector<int> sand{0, kSkip, 3, 4, 7, 8};
  return soilType % 2 == 1 ? clay : sand;
}

// Reads one property row; the columns of the other soil family are cleared.
void ReadPropertyRow(TWordReader& reader, TGridTable& data, int row, int soilType,
                     const std::vector<int>& order) {
  const int otherFamily = soilType % 2 == 1 ? 3 : 1;  // sand's columns 3, 4 or clay's 1, 2
  data.SetFloatValue(otherFamily, row, 0);
  data.SetFloatValue(otherFamily + 1, row, 0);
  for (int step : order) {
    if (step >= 0) {
      ReadFloatCell(reader, data, step, row);
    } else if (step == kSkip || reader.GetCurrentLineWordCount() == 9) {
      reader.ReadWord();
    }
  }
}

}  // namespace

void TProgramData::CreateFromFilev4(TWordReader& reader) {
  ReadHeader(reader);
  METHODTZ = reader.ReadInteger();
  METHODQW = reader.ReadInteger();
  UserTz = METHODTZ == 2;
  UserQw = METHODQW == 2;
  METHOD = UserTz && UserQw ? 1 : 2;
  if (METHODTZ == 2) ReadUserTzCurves(reader);
  if (METHODQW == 2) ReadQwCurve(reader);
  if (METHOD == 2) ReadSoilLayers(reader, true);
  ReadStiffness(reader);
  ReadPileAndLoading(reader);
  ReadModificationFactors(reader);
}

// ".kv3d" and ".kvd": one method switch for both curve sets, six-word
// property rows, the Q-w curve after the stiffness; ".kvd" files end after
// the soil settlement.
void TProgramData::ReadOlderFile(TWordReader& reader, bool withModificationFactors) {
  ReadHeader(reader);
  METHOD = reader.ReadInteger();
  if (METHOD == 1) {
    UserTz = true;
    UserQw = true;
    ReadUserTzCurves(reader);
  }
  if (METHOD == 2) ReadSoilLayers(reader, false);
  ReadStiffness(reader);
  if (METHOD == 1) ReadQwCurve(reader);
  ReadPileAndLoading(reader);
  if (withModificationFactors) ReadModificationFactors(reader);
}

void TProgramData::ReadHeader(TWordReader& reader) {
  Title = reader.ReadLine();
  NINC = reader.ReadInteger();
  LSO = reader.ReadInteger();
  SetUnits(reader.ReadInteger());
}

void TProgramData::ReadUserTzCurves(TWordReader& reader) {
  TGridTable& depths = fTables->TzCurves();
  ReadRows(depths, ReadCount(reader, depths), [&](int curve) {
    reader.ReadWord();  // the curve number
    ReadFloatCell(reader, depths, 0, curve);
    TGridTable& points = SubTable(depths, 1, curve);
    ReadRows(points, ReadCount(reader, points), [&](int point) {
      ReadFloatCell(reader, points, 0, point);
      ReadFloatCell(reader, points, 1, point);
    });
  });
}

void TProgramData::ReadQwCurve(TWordReader& reader) {
  TGridTable& curve = fTables->QwCurve();
  ReadRows(curve, ReadCount(reader, curve), [&](int point) {
    ReadFloatCell(reader, curve, 0, point);
    ReadFloatCell(reader, curve, 1, point);
  });
}

void TProgramData::ReadSoilLayers(TWordReader& reader, bool currentFormat) {
  TGridTable& layers = fTables->SoilLayers();
  ReadRows(layers, ReadCount(reader, layers), [&](int layer) {
    reader.ReadWord();  // the layer number
    layers.SetIntValue(0, layer, ReadSoilType(reader));
    reader.ReadWord();  // the top: the bottom of the layer above
    ReadFloatCell(reader, layers, 1, layer);
    TGridTable& data = SubTable(layers, 2, layer);
    data.SetID(layer + 1);
    data.SetRowCount(data.MinRows());
  });
  for (int layer = 0; layer < layers.RowCount(); ++layer) {
    const int soilType = layers.GetIntValue(0, layer);
    TGridTable& data = SubTable(layers, 2, layer);
    for (int row = 0; row < 2; ++row) {
      data.SetFloatValue(5, row, 0);
      data.SetFloatValue(6, row, 0);
      ReadPropertyRow(reader, data, row, soilType,
                      currentFormat ? PropertyOrder(soilType) : OlderPropertyOrder(soilType));
    }
  }
}

// AE first, the depth below the pile head second.
void TProgramData::ReadStiffness(TWordReader& reader) {
  TGridTable& stiffness = fTables->PileStiffness();
  ReadRows(stiffness, ReadCount(reader, stiffness), [&](int row) {
    ReadFloatCell(reader, stiffness, 1, row);
    ReadFloatCell(reader, stiffness, 0, row);
  });
}

void TProgramData::ReadPileAndLoading(TWordReader& reader) {
  Tolerance = reader.ReadFloat();
  PLength = reader.ReadFloat();
  // Older writers left the head coordinate out: four words on the line.
  HeadCoord = reader.GetCurrentLineWordCount() == 5 ? reader.ReadFloat() : 0.0L;
  OD = reader.ReadFloat();
  Tiparea = reader.ReadFloat();

  TGridTable& movements = fTables->TipMovements();
  ReadRows(movements, ReadCount(reader, movements),
           [&](int row) { ReadFloatCell(reader, movements, 0, row); });
  Ntipmove = movements.RowCount() >= 1 ? 1 : 0;
  TGridTable& loads = fTables->HeadLoads();
  ReadRows(loads, ReadCount(reader, loads), [&](int row) { ReadFloatCell(reader, loads, 0, row); });
  Ntopload = loads.RowCount() >= 1 ? 1 : 0;
  if (Ntopload == 1) {
    Nloadmethod = 2;
    Ntipmove = 0;
  } else {
    Nloadmethod = Ntipmove == 1 ? 1 : 0;
  }

  TGridTable& settlement = fTables->SoilSettlement();
  ReadRows(settlement, ReadCount(reader, settlement), [&](int row) {
    ReadFloatCell(reader, settlement, 0, row);
    ReadFloatCell(reader, settlement, 1, row);
  });
  downdrag = settlement.RowCount() >= 1 ? 1 : 0;
}

void TProgramData::ReadModificationFactors(TWordReader& reader) {
  ModTZ = reader.ReadInteger();
  if (ModTZ > 0) {
    TGridTable& factors = fTables->TzFactors();
    ReadRows(factors, ReadCount(reader, factors), [&](int row) {
      for (int column = 0; column < 3; ++column) ReadFloatCell(reader, factors, column, row);
    });
    USETZFactor = factors.RowCount() >= 1;
  }
  ModQw = reader.ReadInteger();
  if (ModQw == 1) {
    QFactor = reader.ReadFloat();
    wFactor = reader.ReadFloat();
  }
}

}  // namespace korvan
