#include "model/ProgramData.h"

#include <QFileInfo>
#include <algorithm>
#include <optional>

#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/WordReader.h"

namespace korvan {

namespace {

// Inches in one metre; its reciprocal (not 0.0254) takes inches to metres,
// so that a switch there and back returns the value within rounding.
constexpr long double kInchesPerMetre = 39.37007874L;

}  // namespace

std::unique_ptr<TProgramData> ProgramData;

TDataFileFormat DataFileFormat(const QString& fileName) {
  const QString name = QFileInfo(fileName).fileName().toLower();
  if (name.endsWith(QLatin1String(".kv4d"))) return dfKorvan2021;
  if (name.endsWith(QLatin1String(".kv3d"))) return dfKorvan2014;
  if (name.endsWith(QLatin1String(".kvd"))) return dfKorvan20;
  return dfUnknown;
}

TProgramData::TProgramData(TInputTables& tables) : fTables(&tables) {
  tables.HideAll();
  SetUnits(1);
  tables.SetRowCounts(0);
  tables.RaiseToMinRows();
  tables.SetDataChanged(false);
}

void TProgramData::SetUnits(int Value) {
  Value = std::clamp(Value, 1, 2);
  const long double factor = Value == 1 ? kInchesPerMetre : 1.0L / kInchesPerMetre;
  if (Value != fUnits) {
    PLength *= factor;
    HeadCoord *= factor;
    OD *= factor;
    Tolerance *= factor;
    Tiparea *= factor * factor;
  }
  fUnits = Value;
  fTables->SetUnits(Value);
  emit unitsChanged(Value);
}

std::unique_ptr<TProgramData> TProgramData::CreateFromFile(TInputTables& tables,
                                                           const QString& FName, int filter,
                                                           QString& message) {
  auto data = std::make_unique<TProgramData>(tables);
  message = data->ReadFile(FName, filter);
  return data;
}

QString TProgramData::ReadFile(const QString& FName, int filter) {
  FileName = FName;
  fUnits = 1;
  QString message;
  std::optional<TWordReader> reader;
  try {
    reader.emplace(FName);
    fTables->SetRowCounts(0);
    if (filter <= dfKorvan2021) {
      CreateFromFilev4(*reader);
    } else {
      ReadOlderFile(*reader, filter == dfKorvan2014);
    }
  } catch (const EKorvanError& error) {
    message = error.Message();
  } catch (const std::exception& error) {
    message = QString::fromLocal8Bit(error.what());
  }
  Finish();
  if (!message.isEmpty()) {
    // What was read is not what the file holds: saving it over the file
    // takes the user's word, and leaving it asks about saving.
    IncompleteLine =
        reader ? std::clamp(reader->Line() + 1, 1, std::max(1, reader->GetLineCount())) : 1;
    fTables->SetDataChanged(true);
  }
  return message;
}

// Every format ends here, also after a reading error.
void TProgramData::Finish() {
  fTables->RaiseToMinRows();
  fTables->SetDataChanged(false);
}

}  // namespace korvan
