// Writing the project in the current format, the file the engine reads.
// Table cells are written as the tables show them, the pile's numbers with
// 8 significant digits, the layer depths in the long scientific form. The
// text is built whole first and then replaces the data file in one step, so
// a failed save never damages the file saved before.
#include <QFile>
#include <QStringList>
#include <charconv>
#include <cmath>
#include <string>

#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/NumberFormat.h"
#include "model/ProgramData.h"
#include "platform/messages.h"
#include "platform/numeric_locale.h"

namespace korvan {

namespace {

// The word written for a property the layer's soil type does not use.
const QString kPlaceholder = QStringLiteral("0.0  ");
// The pile's numbers, and what an absent block is written as.
constexpr int kScalarDigits = 8;
const QString kAbsent = QStringLiteral(" 0");
const QString kPresent = QStringLiteral(" 1");

// A value that cannot be written: the message of Save, and its reason alone.
[[noreturn]] void Unwritable(const QString& reason) {
  throw ESaveError(QStringLiteral("The project cannot be saved: %1.").arg(reason), reason);
}

[[noreturn]] void NotANumber(const QString& what) {
  Unwritable(QStringLiteral("%1 is not a number").arg(what));
}

// A number is written only in a form that reads back: the last rounding
// step below the largest real rounds beyond it, and reals below the
// smallest normal one do not read.
QString ReadableNumber(const QString& text, const QString& what) {
  if (!TextToFloat(text.trimmed(), QLatin1Char('.'))) {
    Unwritable(QStringLiteral("%1 is beyond the numbers a data file holds").arg(what));
  }
  return text;
}

QString Scalar(long double value, const char* name) {
  if (!std::isfinite(value)) NotANumber(QString::fromLatin1(name));
  return ReadableNumber(FormatGeneral(value, kScalarDigits, QLatin1Char('.')),
                        QString::fromLatin1(name));
}

// A cell's text as its table shows it.
QString Cell(const TGridTable& table, int column, int row) {
  const QString what = QStringLiteral("row %1 of \"%2\"").arg(row + 1).arg(table.Caption());
  if (!std::isfinite(table.GetFloatValue(column, row))) NotANumber(what);
  return ReadableNumber(table.GetStringValue(column, row), what);
}

// 23 characters: a blank or "-", one digit, ".", 14 digits, "E", the
// exponent's sign and four digits (15 is " 1.50000000000000E+0001").
QString LayerDepth(long double value) {
  if (!std::isfinite(value)) NotANumber(QStringLiteral("a layer depth"));
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, 14);
  const std::string text(buffer, result.ptr);
  const std::size_t e = text.find('e');
  const int exponent = std::stoi(text.substr(e + 1));
  return ReadableNumber(
      QStringLiteral("%1%2E%3%4")
          .arg(std::signbit(value) && value != 0 ? QLatin1Char('-') : QLatin1Char(' '))
          .arg(QString::fromStdString(text.substr(0, e)))
          .arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
          .arg(std::abs(exponent), 4, 10, QLatin1Char('0')),
      QStringLiteral("a layer depth"));
}

TGridTable& SubTable(const TGridTable& table, int column, int row) {
  TGridTable* subTable = table.GetDataValue(column, row);
  if (!subTable) {
    Unwritable(QStringLiteral("row %1 of \"%2\" holds no data").arg(row + 1).arg(table.Caption()));
  }
  return *subTable;
}

// The nine words of a property row: each soil type writes the columns its
// analysis uses and placeholders for the others.
QStringList PropertyWords(const TGridTable& data, int row, int soilType, int layer) {
  auto c = [&](int column) { return Cell(data, column, row); };
  switch (soilType) {
    case 1:
    case 3:
      return {c(0), c(1), kPlaceholder, c(2), c(4), kPlaceholder, kPlaceholder, c(7), c(8)};
    case 2:
    case 4:
      return {c(0), kPlaceholder, c(3), c(2), c(4), kPlaceholder, kPlaceholder, c(7), c(8)};
    case 5:
      return {c(0), c(1), kPlaceholder, c(2), c(4), c(5), c(6), c(7), c(8)};
    case 6:
      return {c(0), kPlaceholder, c(3), c(2), c(4), c(5), kPlaceholder, c(7), c(8)};
    default:
      Unwritable(QStringLiteral("layer %1 has no soil type").arg(layer + 1));
  }
}

class TLines {
 public:
  void Add(const QString& line) {
    fText += line;
    fText += QLatin1Char('\n');
  }
  void Add(const QStringList& words) { Add(words.join(QLatin1Char(' '))); }
  void Add(int number) { Add(QString::number(number)); }
  const QString& Text() const { return fText; }

 private:
  QString fText;
};

// The rows of a table of one or more value columns, one row per line.
void AddRows(TLines& lines, const TGridTable& table, std::initializer_list<int> columns) {
  lines.Add(table.RowCount());
  for (int row = 0; row < table.RowCount(); ++row) {
    QStringList words;
    for (int column : columns) words << Cell(table, column, row);
    lines.Add(words);
  }
}

}  // namespace

QString TProgramData::FileText() {
  Ntipmove = Nloadmethod == 1 ? 1 : 0;
  Ntopload = Nloadmethod == 2 ? 1 : 0;
  TLines lines;
  lines.Add(Title);
  lines.Add({QString::number(NINC), QString::number(LSO), QString::number(fUnits)});
  METHODTZ = UserTz ? 2 : 1;
  METHODQW = UserQw ? 2 : 1;
  lines.Add({QString::number(METHODTZ), QString::number(METHODQW)});
  METHOD = UserTz && UserQw ? 1 : 2;

  if (METHODTZ == 2) {
    const TGridTable& depths = fTables->TzCurves();
    lines.Add(depths.RowCount());
    for (int curve = 0; curve < depths.RowCount(); ++curve) {
      const TGridTable& points = SubTable(depths, 1, curve);
      lines.Add(
          {QString::number(curve + 1), Cell(depths, 0, curve), QString::number(points.RowCount())});
      for (int point = 0; point < points.RowCount(); ++point) {
        lines.Add({Cell(points, 0, point), Cell(points, 1, point)});
      }
    }
  }
  if (METHODQW == 2) AddRows(lines, fTables->QwCurve(), {0, 1});

  if (METHOD == 2) {
    const TGridTable& layers = fTables->SoilLayers();
    lines.Add(layers.RowCount());
    for (int layer = 0; layer < layers.RowCount(); ++layer) {
      TGridTable& data = SubTable(layers, 2, layer);
      data.SetID(layer + 1);
      data.SetRowCount(data.MinRows());
      const QString top =
          layer == 0 ? QStringLiteral("0.0") : LayerDepth(layers.GetFloatValue(1, layer - 1));
      lines.Add({QString::number(layer + 1), QString::number(layers.GetIntValue(0, layer)), top,
                 LayerDepth(layers.GetFloatValue(1, layer))});
    }
    for (int layer = 0; layer < layers.RowCount(); ++layer) {
      const TGridTable& data = SubTable(layers, 2, layer);
      for (int row = 0; row < 2; ++row) {
        lines.Add(PropertyWords(data, row, layers.GetIntValue(0, layer), layer));
      }
    }
  }

  AddRows(lines, fTables->PileStiffness(), {1, 0});
  lines.Add({Scalar(Tolerance, "the tolerance"), Scalar(PLength, "the pile length"),
             Scalar(HeadCoord, "the pile head coordinate"), Scalar(OD, "the outer diameter"),
             Scalar(Tiparea, "the tip area")});
  if (Ntipmove == 0) {
    lines.Add(kAbsent);
  } else {
    AddRows(lines, fTables->TipMovements(), {0});
  }
  if (Ntopload == 0) {
    lines.Add(kAbsent);
  } else {
    AddRows(lines, fTables->HeadLoads(), {0});
  }
  if (downdrag == 0) {
    lines.Add(kAbsent);
  } else {
    AddRows(lines, fTables->SoilSettlement(), {0, 1});
  }
  if (ModTZ == 0) {
    lines.Add(kAbsent);
  } else {
    lines.Add(kPresent);
    AddRows(lines, fTables->TzFactors(), {0, 1, 2});
  }
  if (ModQw == 0) {
    lines.Add(kAbsent);
  } else {
    lines.Add(kPresent);
    lines.Add({Scalar(QFactor, "the Q-multiplier"), Scalar(wFactor, "the w-multiplier")});
  }
  return lines.Text();
}

QByteArray TProgramData::FileBytes() {
  // Cells show their numbers in the program's number format: "." while the
  // text is made, the user's separator again afterwards.
  platform::TDecimalPointGuard decimalPoint;
  return FileText().toUtf8();
}

void TProgramData::Save() {
  SaveTo(QFile::encodeName(FileName).toStdString());
}

void TProgramData::SaveTo(const std::filesystem::path& target,
                          const std::vector<platform::TKeptFile>& kept) {
  const QByteArray bytes = FileBytes();
  // The new text goes into a temporary file beside the data file, which
  // replaces it (keeping its permissions) only once it is complete on disk.
  platform::TSafeOutput file(target, kept);
  if (!file.Write(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) ||
      !file.Commit()) {
    const QString name = QFile::decodeName(target.c_str());
    throw ESaveError(QStringLiteral("Cannot save file \"%1\". %2")
                         .arg(name, QString::fromLocal8Bit(platform::AsSentence(file.Reason()))),
                     QStringLiteral("\"%1\" cannot be written (%2)")
                         .arg(name, QString::fromLocal8Bit(file.Reason())));
  }
  IncompleteLine = 0;
  fTables->SetDataChanged(false);
}

}  // namespace korvan
