// The variants of a design study, made with the program's own project
// model: the project read as the program opens it, one parameter changed
// together with the values that depend on it, and the text the program
// saves. The rules:
//   length    the total pile length takes the value; the pile head stays,
//             so the tip moves. Stiffness (AE) rows below the new tip are
//             dropped, and a row at the new tip is added with the AE the
//             engine reads there (between rows linear, below the last row
//             the last row's AE), so the pile keeps its stiffness.
//   diameter  the outer diameter takes the value and the tip area is
//             scaled with the square of the diameter's ratio; the
//             stiffness rows stay unless `scaleAE`, which scales every AE
//             with that square too (a solid section).
// Everything else stays as the project has it: layers, curves (your own
// Q-w curve gives the tip load itself, whatever the tip area), increments,
// tip movements, settlement and modification factors. A design load joins
// the head loads after the project's own; a project without head loads
// gets the load method "head loads", and one with tip movements of its own
// keeps them (the data file then carries both, which the engine reads).
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <optional>

#include "study_range.h"

namespace korvan {

struct TVariantRules {
  TStudyParameter parameter = TStudyParameter::kLength;
  std::optional<double> designLoad;
  bool scaleAE = false;
};

class TStudyVariantMaker {
 public:
  // `projectBytes`: the project as the program saves it. Throws
  // EKorvanError when they cannot be read back whole.
  TStudyVariantMaker(const QByteArray& projectBytes, const TVariantRules& rules);

  // The project in `dataFile` (any generation, by its extension); nothing,
  // with the reader's message in `message`, when it cannot be read whole.
  static std::unique_ptr<TStudyVariantMaker> Open(const std::filesystem::path& dataFile,
                                                  const TVariantRules& rules, QString& message);

  int Units() const { return fUnits; }
  bool DownDrag() const { return fDownDrag; }
  double Length() const { return fLength; }
  double Diameter() const { return fDiameter; }
  // The design load's place among a variant's head loads.
  std::size_t DesignLoadIndex() const { return fDesignLoadIndex; }

  // Why no variant can be made by these rules, or an empty text.
  QString Problem() const;

  // The data file of the variant where the parameter takes `value`. Throws
  // EKorvanError when it cannot be made.
  QByteArray VariantBytes(double value) const;

 private:
  TVariantRules fRules;
  QTemporaryDir fFolder;
  QString fBaseFile;
  int fUnits = 1;
  bool fDownDrag = false;
  double fLength = 0;
  double fDiameter = 0;
  int fHeadLoads = 0;
  int fMaxHeadLoads = 0;
  std::size_t fDesignLoadIndex = 0;
};

}  // namespace korvan
