// TProgramData: the scalar settings of the one project the program holds
// (title, pile, method switches, multipliers), and the reading and writing
// of the project data file. The lists of rows live in the input tables,
// which the main window owns; the project reaches them through it and never
// owns them.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>
#include <vector>

#include "model/Exceptions.h"
#include "platform/safe_output.h"

namespace korvan {

class TInputTables;
class TWordReader;

// Format generations of the data file: the index of the Open dialog's filter.
enum TDataFileFormat : int {
  dfUnknown = 0,
  dfKorvan2021 = 1,  // ".kv4d", the current format
  dfKorvan2014 = 2,  // ".kv3d"
  dfKorvan20 = 3,    // ".kvd"
};

// The generation of a file by its extension (any case); dfUnknown for others.
TDataFileFormat DataFileFormat(const QString& fileName);

inline const QString kNewFileName = QStringLiteral("NewKORVAN.kv4d");

// A save that failed; Reason() says why without naming the command, for
// messages that say what did not happen because of it.
class ESaveError : public EInOutError {
 public:
  ESaveError(const QString& message, QString reason)
      : EInOutError(message), fReason(std::move(reason)) {}
  const QString& Reason() const { return fReason; }

 private:
  QString fReason;
};

class TProgramData : public QObject {
  Q_OBJECT

 public:
  // A new project: closes every child window, sets every field to its
  // default, resets every table to its minimum rows, clears the
  // data-changed flag.
  explicit TProgramData(TInputTables& tables);
  TProgramData(const TProgramData&) = delete;
  TProgramData& operator=(const TProgramData&) = delete;

  // A new project read from `FName` in the generation `filter` (1 or less
  // the current one). Reading stops at the first error, whose message goes
  // into `message` for the caller to show once (empty when the whole file
  // was read); the project keeps what was read before it.
  static std::unique_ptr<TProgramData> CreateFromFile(TInputTables& tables, const QString& FName,
                                                      int filter, QString& message);
  // The reading of CreateFromFile into this project: the reader's message
  // when reading stopped early, empty when the whole file was read. A
  // project read only in part is marked changed and keeps in
  // IncompleteLine the line where reading stopped.
  QString ReadFile(const QString& FName, int filter);

  // Writes the project to FileName in the current format. The previous file
  // stays untouched until the new one is complete on disk. Raises
  // ESaveError when it cannot be written; the data-changed flag then keeps
  // its value. A project saved whole is no longer incomplete.
  void Save();
  // The text Save writes (the project data file's bytes). Raises ESaveError
  // when a value cannot be written.
  QByteArray FileBytes();
  // The same to `target` (the bytes of its name, as the user gave them),
  // refused when it is one of the `kept` files; FileName is not changed.
  void SaveTo(const std::filesystem::path& target,
              const std::vector<platform::TKeptFile>& kept = {});

  // Switches the unit system (clamped to 1..2), converting the lengths here
  // and every table's values; unitsChanged tells the windows that show them.
  void SetUnits(int Value);

  TInputTables& Tables() const { return *fTables; }

  int fUnits = 1;
  QString FileName = kNewFileName;
  QString Title = QStringLiteral("New Pile");
  QString Name1;  // designer, never written to a file
  QString Date1;  // never written to a file
  long double QFactor = 1.0L;
  long double wFactor = 1.0L;
  long double OD = 0;
  long double PLength = 0;
  long double HeadCoord = 0;
  long double Tiparea = 0;
  long double Tolerance = 1.0E-5L;
  int NINC = 50;
  int LSO = 0;
  int METHOD = 2;
  int METHODTZ = 1;
  int METHODQW = 1;
  int downdrag = 0;
  int Ntipmove = 0;
  int Ntopload = 0;
  int Nloadmethod = 0;
  bool USETZFactor = false;
  bool USEQwFactor = false;
  bool UserTz = false;
  bool UserQw = false;
  int ModTZ = 0;
  int ModQw = 0;
  // The line of the data file where reading stopped when the file could not
  // be read whole; 0 when it was, or since the project was saved.
  int IncompleteLine = 0;

 signals:
  // The unit system was set (also to the one in force): the values shown in
  // another system are stale.
  void unitsChanged(int units);

 private:
  void CreateFromFilev4(TWordReader& reader);
  void ReadOlderFile(TWordReader& reader, bool withModificationFactors);
  void ReadHeader(TWordReader& reader);
  void ReadUserTzCurves(TWordReader& reader);
  void ReadQwCurve(TWordReader& reader);
  void ReadSoilLayers(TWordReader& reader, bool currentFormat);
  void ReadStiffness(TWordReader& reader);
  void ReadPileAndLoading(TWordReader& reader);
  void ReadModificationFactors(TWordReader& reader);
  void Finish();
  QString FileText();

  TInputTables* fTables;
};

// The project the program holds.
extern std::unique_ptr<TProgramData> ProgramData;

}  // namespace korvan
