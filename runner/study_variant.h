// The variants of a design study, made on the project data file's records:
// the stiffness table, the pile line and the head loads are rewritten, every
// other line stays as it was. The project comes as the desktop program saves
// it (ProjectTextAsSaved), so a variant is the project the program holds
// with one parameter changed. The rules:
//   length    the total pile length takes the value; the pile head stays,
//             so the tip moves. Stiffness (AE) rows below the new tip are
//             dropped, and a row at the new tip is added with the AE the
//             engine reads there (between rows linear, below the last row
//             the last row's AE), so the pile keeps its stiffness.
//   diameter  the outer diameter takes the value and the tip area is
//             scaled with the square of the diameters' ratio; the stiffness
//             rows stay unless `scaleAE`, which scales every AE with that
//             square too (a solid section).
// Everything else stays: layers, curves (your own Q-w curve gives the tip
// load itself, whatever the tip area), increments, tip movements,
// settlement and modification factors. A design load joins the head loads
// after the project's own; tip movements of the project's own stay beside
// it, which the engine reads both. No Qt: the command and the desktop
// program share it, and no second project model is ever made.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "runner/study_range.h"

namespace korvan {

struct TVariantRules {
  TStudyParameter parameter = TStudyParameter::kLength;
  std::optional<double> designLoad;
  bool scaleAE = false;
};

// The most stiffness rows and head loads a data file holds.
inline constexpr std::size_t kMaxStiffnessRows = 50;
inline constexpr std::size_t kMaxHeadLoads = 50;

class TVariantMaker {
 public:
  // `projectText`: the data file as the program saves it. Ready() is false
  // when its records cannot be told apart.
  TVariantMaker(std::string projectText, const TVariantRules& rules);

  bool Ready() const { return fProblem.empty(); }
  // Why no variant can be made by these rules (the file's layout, no
  // diameter to scale by, no room for the design load), or empty.
  const std::string& Problem() const { return fProblem; }

  int Units() const { return fUnits; }
  bool DownDrag() const { return fDownDrag; }
  double Length() const { return fLength; }
  double Diameter() const { return fDiameter; }
  // The design load's place among a variant's head loads.
  std::size_t DesignLoadIndex() const { return fHeadLoads.size(); }

  // The data file of the variant where the parameter takes `value`;
  // nothing, with the reason in `error`, when it cannot be made (no room
  // for a stiffness row at the new tip).
  std::optional<std::string> VariantText(double value, std::string& error) const;

 private:
  // A record: its values as written, and the lines it takes.
  struct TRecord {
    std::vector<std::string> words;
    std::size_t firstLine = 0;
    std::size_t endLine = 0;  // one past its last line
  };
  bool Parse();
  bool Read(std::size_t& line, std::size_t count, TRecord& record) const;
  bool Count(std::size_t& line, std::size_t most, std::size_t& count) const;

  TVariantRules fRules;
  std::vector<std::string> fLines;
  std::string fProblem;
  int fUnits = 1;
  bool fDownDrag = false;
  double fLength = 0;
  double fDiameter = 0;
  double fTipArea = 0;
  std::vector<std::pair<double, double>> fStiffness;  // depth, AE
  std::vector<std::pair<std::string, std::string>> fStiffnessWords;
  std::vector<std::string> fHeadLoads;  // as written
  TRecord fPile;
  std::size_t fStiffnessLine = 0;  // the count line of the stiffness table
  std::size_t fLoadsLine = 0;      // the count line of the head loads
  std::size_t fAfterLoads = 0;     // the line after the head loads
};

// A number as the data file holds it: 8 significant digits, trailing zeros
// dropped, an exponent only for the very small or large ("7.98E8").
std::string DataFileNumber(double value);

}  // namespace korvan
